#include "netstatus/CInterface.h"

#include <array>

namespace horlan {

namespace {

// The zero date of a date property, made once: building a local date-time is not cheap.
const QDateTime& ZeroDate() {
    static const QDateTime zero(QDate(1899, 12, 30), QTime(0, 0));
    return zero;
}

constexpr std::array<CInterface::PropertyText, 22> PropertyTexts{{
    {"InterfaceDescription", "Contains a description of the interface."},
    {"OutputQueueLength", "Specifies the output queue length."},
    {"OutgoingErrors",
     "Specifies the number of outgoing packets that were discarded because of errors."},
    {"DiscardedOutgoingPackets", "Specifies the number of outgoing packets that were discarded "
                                 "even though they did not have errors."},
    {"NonunicastPacketsSent", "Specifies the number of non-unicast packets sent through this "
                              "interface. Broadcast and multicast packets are included."},
    {"UnicastPacketsSent", "Specifies the number of unicast packets sent through this interface."},
    {"OctetsSent", "Specifies the number of octets of data sent through this interface."},
    {"UnknownProtocolPackets", "Specifies the number of incoming packets that were discarded "
                               "because the protocol was unknown."},
    {"IncomingErrors",
     "Specifies the number of incoming packets that were discarded because of errors."},
    {"DiscardedIncomingPackets", "Specifies the number of incoming packets that were discarded "
                                 "even though they did not have errors."},
    {"NonunicastPacketsReceived", "Specifies the number of non-unicast packets received through "
                                  "this interface. Broadcast and multicast packets are included."},
    {"MaximumTransmissionUnit", "Specifies the Maximum Transmission Unit (MTU)."},
    {"UnicastPacketsReceived",
     "Specifies the number of unicast packets received through this interface."},
    {"OctetsReceived", "Specifies the number of octets of data received through this interface."},
    {"LastChange", "Specifies the last time the operational status changed."},
    {"OperationalStatus", "Specifies the operational status of the interface."},
    {"AdminStatus", "Specifies the interface is administratively enabled or disabled."},
    {"AdapterAddress", "Specifies the physical address of the adapter for this interface."},
    {"Speed", "Specifies the speed of the interface in bits per second."},
    {"InterfaceType", "Specifies the type of interface."},
    {"InterfaceIndex", "Specifies the index that identifies the interface."},
    {"InterfaceName", "String that contains the name of the interface."},
}};

} // namespace

CInterface::CInterface() : lastChange_(ZeroDate()) {}

std::span<const CInterface::PropertyText> CInterface::PropertyDescriptions() {
    return PropertyTexts;
}

void CInterface::SetInterfaceDescription(const QString& value) {
    interfaceDescription_ = value;
}
void CInterface::SetOutputQueueLength(qint32 value) {
    outputQueueLength_ = value;
}
void CInterface::SetOutgoingErrors(qint32 value) {
    outgoingErrors_ = value;
}
void CInterface::SetDiscardedOutgoingPackets(qint32 value) {
    discardedOutgoingPackets_ = value;
}
void CInterface::SetNonunicastPacketsSent(qint32 value) {
    nonunicastPacketsSent_ = value;
}
void CInterface::SetUnicastPacketsSent(qint32 value) {
    unicastPacketsSent_ = value;
}
void CInterface::SetOctetsSent(qint32 value) {
    octetsSent_ = value;
}
void CInterface::SetUnknownProtocolPackets(qint32 value) {
    unknownProtocolPackets_ = value;
}
void CInterface::SetIncomingErrors(qint32 value) {
    incomingErrors_ = value;
}
void CInterface::SetDiscardedIncomingPackets(qint32 value) {
    discardedIncomingPackets_ = value;
}
void CInterface::SetNonunicastPacketsReceived(qint32 value) {
    nonunicastPacketsReceived_ = value;
}
void CInterface::SetMaximumTransmissionUnit(qint32 value) {
    maximumTransmissionUnit_ = value;
}
void CInterface::SetUnicastPacketsReceived(qint32 value) {
    unicastPacketsReceived_ = value;
}
void CInterface::SetOctetsReceived(qint32 value) {
    octetsReceived_ = value;
}
void CInterface::SetLastChange(const QDateTime& value) {
    lastChange_ = value;
}
void CInterface::SetOperationalStatus(qint32 value) {
    operationalStatus_ = value;
}
void CInterface::SetAdminStatus(qint32 value) {
    adminStatus_ = value;
}
void CInterface::SetAdapterAddress(const QString& value) {
    adapterAddress_ = value;
}
void CInterface::SetSpeed(qint32 value) {
    speed_ = value;
}
void CInterface::SetInterfaceType(qint32 value) {
    interfaceType_ = value;
}
void CInterface::SetInterfaceIndex(qint32 value) {
    interfaceIndex_ = value;
}
void CInterface::SetInterfaceName(const QString& value) {
    interfaceName_ = value;
}

} // namespace horlan
