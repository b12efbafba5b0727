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

void CInterface::SetInterfaceDescription(const QString& strNewValue) {
    interfaceDescription_ = strNewValue;
}
void CInterface::SetOutputQueueLength(qint32 lngNewValue) {
    outputQueueLength_ = lngNewValue;
}
void CInterface::SetOutgoingErrors(qint32 lngNewValue) {
    outgoingErrors_ = lngNewValue;
}
void CInterface::SetDiscardedOutgoingPackets(qint32 lngNewValue) {
    discardedOutgoingPackets_ = lngNewValue;
}
void CInterface::SetNonunicastPacketsSent(qint32 lngNewValue) {
    nonunicastPacketsSent_ = lngNewValue;
}
void CInterface::SetUnicastPacketsSent(qint32 lngNewValue) {
    unicastPacketsSent_ = lngNewValue;
}
void CInterface::SetOctetsSent(qint32 lngNewValue) {
    octetsSent_ = lngNewValue;
}
void CInterface::SetUnknownProtocolPackets(qint32 lngNewValue) {
    unknownProtocolPackets_ = lngNewValue;
}
void CInterface::SetIncomingErrors(qint32 lngNewValue) {
    incomingErrors_ = lngNewValue;
}
void CInterface::SetDiscardedIncomingPackets(qint32 lngNewValue) {
    discardedIncomingPackets_ = lngNewValue;
}
void CInterface::SetNonunicastPacketsReceived(qint32 lngNewValue) {
    nonunicastPacketsReceived_ = lngNewValue;
}
void CInterface::SetMaximumTransmissionUnit(qint32 lngNewValue) {
    maximumTransmissionUnit_ = lngNewValue;
}
void CInterface::SetUnicastPacketsReceived(qint32 lngNewValue) {
    unicastPacketsReceived_ = lngNewValue;
}
void CInterface::SetOctetsReceived(qint32 lngNewValue) {
    octetsReceived_ = lngNewValue;
}
void CInterface::SetLastChange(const QDateTime& datNewValue) {
    lastChange_ = datNewValue;
}
void CInterface::SetOperationalStatus(qint32 lngNewValue) {
    operationalStatus_ = lngNewValue;
}
void CInterface::SetAdminStatus(qint32 lngNewValue) {
    adminStatus_ = lngNewValue;
}
void CInterface::SetAdapterAddress(const QString& strNewValue) {
    adapterAddress_ = strNewValue;
}
void CInterface::SetSpeed(qint32 lngNewValue) {
    speed_ = lngNewValue;
}
void CInterface::SetInterfaceType(qint32 lngNewValue) {
    interfaceType_ = lngNewValue;
}
void CInterface::SetInterfaceIndex(qint32 lngNewValue) {
    interfaceIndex_ = lngNewValue;
}
void CInterface::SetInterfaceName(const QString& strNewValue) {
    interfaceName_ = strNewValue;
}

} // namespace horlan
