#include "timesync/NtsPacket.h"

#include "timesync/NtsKe.h"

#include <QtEndian>
#include <memory>
#include <optional>

#include <openssl/evp.h>
#include <openssl/rand.h>

namespace horlan {

namespace {

constexpr qsizetype NtpHeaderBytes = 48;
constexpr qsizetype MinFieldBytes = 16;
constexpr int TagBytes = 16;

quint16 Word(QByteArrayView bytes, qsizetype at) {
    return qFromBigEndian<quint16>(bytes.data() + at);
}

qsizetype Padded(qsizetype size) {
    return (size + 3) & ~qsizetype(3);
}

const unsigned char* Bytes(QByteArrayView view) {
    return reinterpret_cast<const unsigned char*>(view.data());
}

// AEAD_AES_SIV_CMAC_256 (RFC 5297) through OpenSSL's AES-128-SIV, whose 32-byte key is the
// MAC and the cipher key together. The associated data and the nonce go in as two separate
// strings, as the AEAD interface of RFC 5297 section 6 wants. Sealing gives the tag followed
// by the ciphertext; opening takes that and gives the plaintext, or nothing when the tag does
// not verify. Empty inputs are refused: OpenSSL 3.0 takes an empty plaintext for no call.
std::optional<QByteArray> Siv(bool seal, QByteArrayView key, QByteArrayView aad,
                              QByteArrayView nonce, QByteArrayView text) {
    if (key.size() != NtsKeyBytes || aad.isEmpty() || nonce.isEmpty() ||
        text.size() <= (seal ? 0 : TagBytes)) {
        return std::nullopt;
    }
    const std::unique_ptr<EVP_CIPHER, decltype(&EVP_CIPHER_free)> cipher(
        EVP_CIPHER_fetch(nullptr, "AES-128-SIV", nullptr), EVP_CIPHER_free);
    const std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(
        EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
    const QByteArrayView in = seal ? text : text.sliced(TagBytes);
    QByteArray out(seal ? TagBytes + in.size() : in.size(), Qt::Uninitialized);
    auto* body = reinterpret_cast<unsigned char*>(out.data()) + (seal ? TagBytes : 0);
    EVP_CIPHER_CTX* c = context.get();
    int length = 0;
    int finalLength = 0;
    const bool done =
        cipher && c &&
        EVP_CipherInit_ex2(c, cipher.get(), Bytes(key), nullptr, seal ? 1 : 0, nullptr) == 1 &&
        (seal || EVP_CIPHER_CTX_ctrl(c, EVP_CTRL_AEAD_SET_TAG, TagBytes,
                                     const_cast<char*>(text.data())) == 1) &&
        EVP_CipherUpdate(c, nullptr, &length, Bytes(aad), int(aad.size())) == 1 &&
        EVP_CipherUpdate(c, nullptr, &length, Bytes(nonce), int(nonce.size())) == 1 &&
        EVP_CipherUpdate(c, body, &length, Bytes(in), int(in.size())) == 1 &&
        EVP_CipherFinal_ex(c, body + length, &finalLength) == 1 &&
        (!seal || EVP_CIPHER_CTX_ctrl(c, EVP_CTRL_AEAD_GET_TAG, TagBytes, out.data()) == 1);
    if (!done) {
        return std::nullopt;
    }
    return out;
}

struct Field {
    quint16 Type = 0;
    qsizetype Start = 0;
    QByteArrayView Body;
};

// Splits bytes into whole extension fields: each at least 16 bytes, a multiple of four, and
// inside the bytes. False when any is not.
bool SplitFields(QByteArrayView bytes, QList<Field>& fields) {
    for (qsizetype at = 0; at < bytes.size();) {
        const quint16 length = bytes.size() - at >= 4 ? Word(bytes, at + 2) : 0;
        if (length < MinFieldBytes || length % 4 != 0 || length > bytes.size() - at) {
            return false;
        }
        fields.append({Word(bytes, at), at, bytes.sliced(at + 4, length - 4)});
        at += length;
    }
    return true;
}

} // namespace

QByteArray NtpExtensionField(quint16 type, QByteArrayView body) {
    const qsizetype length = std::max(MinFieldBytes, 4 + Padded(body.size()));
    QByteArray field(length, '\0');
    qToBigEndian<quint16>(type, field.data());
    qToBigEndian<quint16>(quint16(length), field.data() + 2);
    std::copy(body.begin(), body.end(), field.begin() + 4);
    return field;
}

QByteArray NtsRandomBytes(qsizetype count) {
    QByteArray bytes(count, Qt::Uninitialized);
    if (RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), int(count)) != 1) {
        return {};
    }
    return bytes;
}

bool AppendNtsAuthenticator(QByteArray& packet, QByteArrayView encryptedFields,
                            QByteArrayView key) {
    const QByteArray nonce = NtsRandomBytes(NtsNonceBytes);
    const std::optional<QByteArray> sealed =
        nonce.isEmpty() ? std::nullopt : Siv(true, key, packet, nonce, encryptedFields);
    if (!sealed || sealed->size() > 0xFFFF - 64) {
        return false;
    }
    QByteArray body(4, '\0');
    qToBigEndian<quint16>(quint16(nonce.size()), body.data());
    qToBigEndian<quint16>(quint16(sealed->size()), body.data() + 2);
    body += nonce + QByteArray(Padded(nonce.size()) - nonce.size(), '\0') + *sealed;
    packet += NtpExtensionField(NtsAuthenticator, body);
    return true;
}

QByteArray NtsRequest(QByteArrayView header, QByteArrayView uniqueId, QByteArrayView cookie,
                      QByteArrayView c2sKey) {
    if (header.size() != NtpHeaderBytes || uniqueId.size() != NtsUniqueIdBytes ||
        cookie.isEmpty() || cookie.size() > NtsMaxCookieBytes) {
        return {};
    }
    QByteArray packet = header.toByteArray() + NtpExtensionField(NtsUniqueIdentifier, uniqueId) +
                        NtpExtensionField(NtsCookie, cookie);
    const QByteArray placeholder =
        NtpExtensionField(NtsCookiePlaceholder, QByteArray(cookie.size(), '\0'));
    return AppendNtsAuthenticator(packet, placeholder, c2sKey) ? packet : QByteArray();
}

NtsReplyCheck CheckNtsReply(QByteArrayView packet, QByteArrayView uniqueId, QByteArrayView s2cKey) {
    NtsReplyCheck check;
    QList<Field> fields;
    if (packet.size() < NtpHeaderBytes || uniqueId.size() != NtsUniqueIdBytes ||
        !SplitFields(packet.sliced(NtpHeaderBytes), fields)) {
        return check;
    }
    const Field* identifier = nullptr;
    const Field* authenticator = nullptr;
    for (const Field& field : fields) {
        if (authenticator != nullptr ||
            (field.Type == NtsUniqueIdentifier && identifier != nullptr)) {
            return check;
        }
        identifier = field.Type == NtsUniqueIdentifier ? &field : identifier;
        authenticator = field.Type == NtsAuthenticator ? &field : authenticator;
    }
    check.UniqueIdMatches = identifier != nullptr && identifier->Body == uniqueId;
    if (!check.UniqueIdMatches || authenticator == nullptr) {
        return check;
    }
    const QByteArrayView body = authenticator->Body;
    const qsizetype nonceLength = body.size() >= 4 ? Word(body, 0) : 0;
    const qsizetype sealedLength = body.size() >= 4 ? Word(body, 2) : 0;
    if (4 + Padded(nonceLength) + Padded(sealedLength) > body.size()) {
        return check;
    }
    const std::optional<QByteArray> plain =
        Siv(false, s2cKey, packet.first(NtpHeaderBytes + authenticator->Start),
            body.sliced(4, nonceLength), body.sliced(4 + Padded(nonceLength), sealedLength));
    QList<Field> inner;
    if (!plain || !SplitFields(*plain, inner)) {
        return check;
    }
    for (const Field& field : inner) {
        if (field.Type == NtsCookie && field.Body.size() <= NtsMaxCookieBytes) {
            check.Cookies.append(field.Body.toByteArray());
        }
    }
    check.Authentic = true;
    return check;
}

} // namespace horlan
