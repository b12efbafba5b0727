#include "netstatus/CIpHelper.h"

#include "netstatus/NetstatusTexts.h"

#include <algorithm>

namespace horlan {

namespace {

// Marks a read as running for its duration.
struct Busy {
    bool& Flag;
    explicit Busy(bool& flag) : Flag(flag) { Flag = true; }
    ~Busy() { Flag = false; }
};

// A 32-bit property holds the low 32 bits of the platform's value, bit for bit.
qint32 Low32(quint64 value) {
    return static_cast<qint32>(static_cast<quint32>(value));
}

std::size_t DescrLength(const InterfaceRow& row) {
    return std::min<std::size_t>(row.DescrLength, row.Descr.size());
}
std::size_t AddressLength(const InterfaceRow& row) {
    return std::min<std::size_t>(row.PhysAddrLength, row.PhysAddr.size());
}
std::size_t NameLength(const InterfaceRow& row) {
    return std::min<std::size_t>(row.NameLength, row.Name.size());
}

// Each byte in upper-case hex without a leading zero, except that a zero byte reads "00";
// the bytes are joined by "-".
QString AddressText(const InterfaceRow& row) {
    const std::size_t length = AddressLength(row);
    QString text;
    text.reserve(static_cast<qsizetype>(length * 3));
    for (std::size_t position = 0; position < length; ++position) {
        if (position > 0) {
            text += QLatin1Char('-');
        }
        const quint8 byte = row.PhysAddr[position];
        text += byte == 0 ? QStringLiteral("00") : QString::number(byte, 16).toUpper();
    }
    return text;
}

// Whether two rows give the same description, address and name texts.
bool SameTextBytes(const InterfaceRow& one, const InterfaceRow& other) {
    const auto same = [](const auto& text, std::size_t length, const auto& otherText,
                         std::size_t otherLength) {
        return length == otherLength &&
               std::equal(text.begin(), text.begin() + length, otherText.begin());
    };
    return same(one.Descr, DescrLength(one), other.Descr, DescrLength(other)) &&
           same(one.PhysAddr, AddressLength(one), other.PhysAddr, AddressLength(other)) &&
           same(one.Name, NameLength(one), other.Name, NameLength(other));
}

void Fill(CInterface& record, const InterfaceRow& row, const QString& description,
          const QString& address, const QString& name) {
    record.SetInterfaceDescription(description);
    if (row.PhysAddrLength > 0) {
        record.SetAdapterAddress(address);
    }
    record.SetOutputQueueLength(Low32(row.OutQLen));
    record.SetOutgoingErrors(Low32(row.OutErrors));
    record.SetDiscardedOutgoingPackets(Low32(row.OutDiscards));
    record.SetNonunicastPacketsSent(Low32(row.OutNUcastPkts));
    record.SetUnicastPacketsSent(Low32(row.OutUcastPkts));
    record.SetOctetsSent(Low32(row.OutOctets));
    record.SetUnknownProtocolPackets(Low32(row.InUnknownProtos));
    record.SetIncomingErrors(Low32(row.InErrors));
    record.SetDiscardedIncomingPackets(Low32(row.InDiscards));
    record.SetNonunicastPacketsReceived(Low32(row.InNUcastPkts));
    record.SetMaximumTransmissionUnit(Low32(row.Mtu));
    record.SetUnicastPacketsReceived(Low32(row.InUcastPkts));
    record.SetOctetsReceived(Low32(row.InOctets));
    record.SetOperationalStatus(Low32(row.OperStatus));
    record.SetAdminStatus(Low32(row.AdminStatus));
    record.SetSpeed(Low32(row.Speed));
    record.SetInterfaceType(Low32(row.Type));
    record.SetInterfaceIndex(Low32(row.Index));
    record.SetInterfaceName(name);
}

} // namespace

CIpHelper::CIpHelper(InterfaceTable& table, MsgBox& msgBox) : table_(table), msgBox_(msgBox) {}

std::shared_ptr<CInterfaces> CIpHelper::Interfaces() {
    // A timer tick that arrives while this object's box is open must not start another read.
    if (refreshing_) {
        if (!interfaces_) {
            interfaces_ = std::make_shared<CInterfaces>();
        }
        return interfaces_;
    }
    const Busy busy(refreshing_);
    auto collection = std::make_shared<CInterfaces>();
    interfaces_ = collection;
    RefreshInterfaces(*collection);
    return collection;
}

void CIpHelper::RefreshTotals() {
    if (refreshing_) {
        return;
    }
    const Busy busy(refreshing_);
    TrafficTotals totals;
    const InterfaceTableResult result = table_.ReadTotals(totals);
    if (result == InterfaceTableResult::Ok) {
        bytesReceived_ = static_cast<qint64>(totals.Received);
        bytesSent_ = static_cast<qint64>(totals.Sent);
    } else if (result == InterfaceTableResult::NotSupported) {
        ShowNotSupportedOnce();
    }
}

void CIpHelper::ShowNotSupportedOnce() {
    // Once per object: the box would otherwise come back on every timer tick.
    if (!notSupportedShown_) {
        notSupportedShown_ = true;
        msgBox_(IpHelperNotSupportedText());
    }
}

void CIpHelper::SetInterfaces(std::shared_ptr<CInterfaces> interfaces) {
    interfaces_ = std::move(interfaces);
}

void CIpHelper::RefreshInterfaces(CInterfaces& collection) {
    bytesReceived_ = 0;
    bytesSent_ = 0;
    const InterfaceTableResult result = table_.Read(rows_);
    if (result == InterfaceTableResult::NotSupported) {
        ShowNotSupportedOnce();
        return;
    }
    if (result != InterfaceTableResult::Ok) {
        return;
    }
    // Unsigned sums wrap instead of overflowing; 2^63 bytes is beyond any real counter.
    quint64 received = 0;
    quint64 sent = 0;
    collection.Reserve(static_cast<qint32>(rows_.size()));
    texts_.resize(rows_.size());
    for (std::size_t position = 0; position < rows_.size(); ++position) {
        const InterfaceRow& row = rows_[position];
        const RowTexts& texts = TextsFor(position, row);
        auto record = std::make_shared<CInterface>();
        Fill(*record, row, texts.Description, texts.Address, texts.Name);
        if (!row.Loopback) {
            received += row.InOctets;
            sent += row.OutOctets;
        }
        collection.Add(record);
    }
    bytesReceived_ = static_cast<qint64>(received);
    bytesSent_ = static_cast<qint64>(sent);
}

const CIpHelper::RowTexts& CIpHelper::TextsFor(std::size_t position, const InterfaceRow& row) {
    RowTexts& texts = texts_[position];
    if (texts.Made && SameTextBytes(texts.Source, row)) {
        return texts;
    }
    texts.Made = true;
    texts.Source = row;
    texts.Description =
        QString::fromLocal8Bit(row.Descr.data(), static_cast<qsizetype>(DescrLength(row)));
    texts.Address = AddressText(row);
    texts.Name = QString::fromUtf16(row.Name.data(), static_cast<qsizetype>(NameLength(row)));
    return texts;
}

} // namespace horlan
