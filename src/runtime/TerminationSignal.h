#pragma once

#include <QObject>
#include <memory>

namespace horlan {

// Turns a request from outside to end the program (the session ending, a terminal closing,
// kill) into a signal on the window thread, so that the program can close the way its close
// box does and keep its settings. One instance at a time.
class TerminationSignal : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

signals:
    // The program was asked to end.
    void Requested();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace horlan
