#pragma once

#include <QDateTime>
#include <QString>

#include <span>

namespace horlan {

// One network interface of a snapshot: a plain record of 22 properties. A new record holds
// zeros, empty texts and the zero date (1899-12-30 00:00).
class CInterface {
public:
    CInterface();

    const QString& InterfaceDescription() const { return interfaceDescription_; }
    void SetInterfaceDescription(const QString& value);
    qint32 OutputQueueLength() const { return outputQueueLength_; }
    void SetOutputQueueLength(qint32 value);
    qint32 OutgoingErrors() const { return outgoingErrors_; }
    void SetOutgoingErrors(qint32 value);
    qint32 DiscardedOutgoingPackets() const { return discardedOutgoingPackets_; }
    void SetDiscardedOutgoingPackets(qint32 value);
    qint32 NonunicastPacketsSent() const { return nonunicastPacketsSent_; }
    void SetNonunicastPacketsSent(qint32 value);
    qint32 UnicastPacketsSent() const { return unicastPacketsSent_; }
    void SetUnicastPacketsSent(qint32 value);
    qint32 OctetsSent() const { return octetsSent_; }
    void SetOctetsSent(qint32 value);
    qint32 UnknownProtocolPackets() const { return unknownProtocolPackets_; }
    void SetUnknownProtocolPackets(qint32 value);
    qint32 IncomingErrors() const { return incomingErrors_; }
    void SetIncomingErrors(qint32 value);
    qint32 DiscardedIncomingPackets() const { return discardedIncomingPackets_; }
    void SetDiscardedIncomingPackets(qint32 value);
    qint32 NonunicastPacketsReceived() const { return nonunicastPacketsReceived_; }
    void SetNonunicastPacketsReceived(qint32 value);
    qint32 MaximumTransmissionUnit() const { return maximumTransmissionUnit_; }
    void SetMaximumTransmissionUnit(qint32 value);
    qint32 UnicastPacketsReceived() const { return unicastPacketsReceived_; }
    void SetUnicastPacketsReceived(qint32 value);
    qint32 OctetsReceived() const { return octetsReceived_; }
    void SetOctetsReceived(qint32 value);
    const QDateTime& LastChange() const { return lastChange_; }
    void SetLastChange(const QDateTime& value);
    qint32 OperationalStatus() const { return operationalStatus_; }
    void SetOperationalStatus(qint32 value);
    qint32 AdminStatus() const { return adminStatus_; }
    void SetAdminStatus(qint32 value);
    const QString& AdapterAddress() const { return adapterAddress_; }
    void SetAdapterAddress(const QString& value);
    qint32 Speed() const { return speed_; }
    void SetSpeed(qint32 value);
    qint32 InterfaceType() const { return interfaceType_; }
    void SetInterfaceType(qint32 value);
    qint32 InterfaceIndex() const { return interfaceIndex_; }
    void SetInterfaceIndex(qint32 value);
    const QString& InterfaceName() const { return interfaceName_; }
    void SetInterfaceName(const QString& value);

    // The text the class publishes for each property, in the order of its interface.
    struct PropertyText {
        const char* Property;
        const char* Description;
    };
    static std::span<const PropertyText> PropertyDescriptions();

private:
    QString interfaceDescription_;
    qint32 outputQueueLength_ = 0;
    qint32 outgoingErrors_ = 0;
    qint32 discardedOutgoingPackets_ = 0;
    qint32 nonunicastPacketsSent_ = 0;
    qint32 unicastPacketsSent_ = 0;
    qint32 octetsSent_ = 0;
    qint32 unknownProtocolPackets_ = 0;
    qint32 incomingErrors_ = 0;
    qint32 discardedIncomingPackets_ = 0;
    qint32 nonunicastPacketsReceived_ = 0;
    qint32 maximumTransmissionUnit_ = 0;
    qint32 unicastPacketsReceived_ = 0;
    qint32 octetsReceived_ = 0;
    QDateTime lastChange_;
    qint32 operationalStatus_ = 0;
    qint32 adminStatus_ = 0;
    QString adapterAddress_;
    qint32 speed_ = 0;
    qint32 interfaceType_ = 0;
    qint32 interfaceIndex_ = 0;
    QString interfaceName_;
};

} // namespace horlan
