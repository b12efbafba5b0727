#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace horlan {

// NTP extension fields of Network Time Security (RFC 8915 section 5), after the 48-byte header.
enum NtsFieldType : quint16 {
    NtsUniqueIdentifier = 0x0104,
    NtsCookie = 0x0204,
    NtsCookiePlaceholder = 0x0304,
    NtsAuthenticator = 0x0404, // and encrypted extension fields
};

constexpr qsizetype NtsUniqueIdBytes = 32;
constexpr qsizetype NtsNonceBytes = 16;
constexpr qsizetype NtsMaxCookieBytes = 1024;

// One extension field: type, length, then the body padded with zeros to a multiple of four
// bytes and to at least the 16 bytes a field takes.
QByteArray NtpExtensionField(quint16 type, QByteArrayView body);

// `count` random bytes from OpenSSL's generator, for unique identifiers and nonces; empty when
// it fails.
QByteArray NtsRandomBytes(qsizetype count);

// Appends the NTS Authenticator and Encrypted Extension Fields field to `packet`: a fresh
// nonce and `encryptedFields` (whole extension fields, at least one) sealed with
// AEAD_AES_SIV_CMAC_256 under the 32-byte `key`, with everything before the field as
// associated data. False, and `packet` unchanged, when the key or fields are unfit or OpenSSL
// fails.
bool AppendNtsAuthenticator(QByteArray& packet, QByteArrayView encryptedFields, QByteArrayView key);

// The protected request: the 48-byte NTP header, the unique identifier, the cookie, and the
// authenticator under the C2S key. The sealed part holds a placeholder that asks for one more
// cookie: OpenSSL 3.0's SIV cannot seal an empty plaintext. Empty when an argument is unfit
// (header not 48 bytes, identifier not 32, cookie empty or over NtsMaxCookieBytes) or
// sealing fails.
QByteArray NtsRequest(QByteArrayView header, QByteArrayView uniqueId, QByteArrayView cookie,
                      QByteArrayView c2sKey);

// What a reply proved. Its extension fields must be well formed, each at most once, the
// authenticator last; fields other than NTS ones before it are ignored.
struct NtsReplyCheck {
    bool UniqueIdMatches = false; // it echoes our identifier (a Kiss-o'-Death NTSN has no more)
    bool Authentic = false;       // and the authenticator verified under the S2C key
    QList<QByteArray> Cookies;    // the new cookies from its encrypted fields, when authentic
};
NtsReplyCheck CheckNtsReply(QByteArrayView packet, QByteArrayView uniqueId, QByteArrayView s2cKey);

} // namespace horlan
