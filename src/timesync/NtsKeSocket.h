#pragma once

// The sockets under NTS key establishment, used on its worker thread; one file per system.

#include <QString>
#include <chrono>
#include <functional>
#include <string>
#include <utility>

namespace horlan {

struct KeSocket {
    int Socket = -1; // connected and blocking, or -1
    int Number = 0;  // else the Windows Sockets error number
    QString Description;
};

// Looks `host` up and connects to the first of its addresses that accepts. `timeout` limits
// each attempt and every later read and write. `publish` is told each socket before it is
// used and -1 when it is closed again; when it answers false, the attempts end. Also keeps a
// write to a closed connection from raising SIGPIPE on this thread.
KeSocket ConnectKeSocket(const std::string& host, quint16 port, std::chrono::milliseconds timeout,
                         const std::function<bool(int)>& publish);

// Makes a read, write or connection attempt blocked on the socket return; any thread.
void ShutdownKeSocket(int socket);
void CloseKeSocket(int socket);

// The failure of the last socket call on this thread (a read or write that ran out of time
// counts as timed out): its Windows Sockets number, 0 for none, and the system's text.
std::pair<int, QString> LastSocketError();

} // namespace horlan
