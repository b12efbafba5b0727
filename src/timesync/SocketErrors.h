#pragma once

#include "runtime/MsgBox.h"

#include <QString>

namespace horlan {

// Windows Sockets error numbers that the socket layer reports.
enum WinsockError : int {
    WSAEINTR = 10004,
    WSAEBADF = 10009,
    WSAEACCES = 10013,
    WSAEFAULT = 10014,
    WSAEINVAL = 10022,
    WSAEMFILE = 10024,
    WSAEWOULDBLOCK = 10035,
    WSAEINPROGRESS = 10036,
    WSAEALREADY = 10037,
    WSAENOTSOCK = 10038,
    WSAEDESTADDRREQ = 10039,
    WSAEMSGSIZE = 10040,
    WSAEPROTOTYPE = 10041,
    WSAENOPROTOOPT = 10042,
    WSAEPROTONOSUPPORT = 10043,
    WSAESOCKTNOSUPPORT = 10044,
    WSAEOPNOTSUPP = 10045,
    WSAEPFNOSUPPORT = 10046,
    WSAEAFNOSUPPORT = 10047,
    WSAEADDRINUSE = 10048,
    WSAEADDRNOTAVAIL = 10049,
    WSAENETDOWN = 10050,
    WSAENETUNREACH = 10051,
    WSAENETRESET = 10052,
    WSAECONNABORTED = 10053,
    WSAECONNRESET = 10054,
    WSAENOBUFS = 10055,
    WSAEISCONN = 10056,
    WSAENOTCONN = 10057,
    WSAESHUTDOWN = 10058,
    WSAETOOMANYREFS = 10059,
    WSAETIMEDOUT = 10060,
    WSAECONNREFUSED = 10061,
    WSAELOOP = 10062,
    WSAENAMETOOLONG = 10063,
    WSAEHOSTDOWN = 10064,
    WSAEHOSTUNREACH = 10065,
    WSAENOTEMPTY = 10066,
    WSAEUSERS = 10068,
    WSAEDQUOT = 10069,
    WSAESTALE = 10070,
    WSAEREMOTE = 10071,
    WSASYSCALLFAILURE = 10107,
    WSAHOST_NOT_FOUND = 11001,
    WSATRY_AGAIN = 11002,
    WSANO_RECOVERY = 11003,
    WSANO_DATA = 11004,
};

// The box that ends a failed exchange, chosen by the socket error number; `description` is
// the socket layer's own text for it.
MsgBoxRequest SocketErrorBox(int number, const QString& description);

// The Windows Sockets number for a failure of a socket call (`errnoValue` as in errno);
// a failure without an equivalent gives WSASYSCALLFAILURE.
int WinsockNumberFromErrno(int errnoValue);

// The Windows Sockets number for a failed name lookup (`lookupError` as returned by
// getaddrinfo; `errnoValue` is consulted when the lookup failed in a system call).
int WinsockNumberFromLookup(int lookupError, int errnoValue);

// The system's own text for a socket call failure.
QString ErrnoDescription(int errnoValue);

// The system's own text for a failed name lookup.
QString LookupDescription(int lookupError, int errnoValue);

} // namespace horlan
