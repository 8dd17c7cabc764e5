#include "transport.h"

#include <ws2tcpip.h>

#include <cstdio>
#include <cstring>

namespace bridge {
namespace {

bool WouldBlock() {
    const int error = WSAGetLastError();
    return error == WSAEWOULDBLOCK || error == WSAEINTR || error == WSAEINPROGRESS;
}

// gethostbyname rather than getaddrinfo: Windows XP without its service packs lacks the
// latter, and the bridge speaks IPv4 only.
bool Resolve(const char* host, in_addr* out) {
    const unsigned long numeric = inet_addr(host);
    if (numeric != INADDR_NONE) {
        out->s_addr = numeric;
        return true;
    }
    const hostent* entry = gethostbyname(host);
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_addr_list[0] == nullptr)
        return false;
    std::memcpy(out, entry->h_addr_list[0], sizeof *out);
    return true;
}

}  // namespace

bool StartWinsock() {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

bool TransportConnect(NetworkContext* context, const char* host, uint16_t port, unsigned timeout_ms,
                      char* why, size_t why_size) {
    TransportClose(context);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (!Resolve(host, &address.sin_addr)) {
        std::snprintf(why, why_size, "host %s not found", host);
        return false;
    }
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        std::snprintf(why, why_size, "no socket (error %d)", WSAGetLastError());
        return false;
    }
    u_long non_blocking = 1;
    ioctlsocket(s, FIONBIO, &non_blocking);
    // Small messages at 30 Hz: each goes out at once rather than waiting for the last's ack.
    const BOOL no_delay = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&no_delay),
               sizeof no_delay);
    if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 &&
        !WouldBlock()) {
        std::snprintf(why, why_size, "connection refused (error %d)", WSAGetLastError());
        closesocket(s);
        return false;
    }
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval limit{static_cast<long>(timeout_ms / 1000),
                  static_cast<long>(timeout_ms % 1000) * 1000};
    const int ready = select(0, nullptr, &writable, &failed, &limit);
    int error = 0;
    int length = sizeof error;
    getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
    if (ready <= 0 || FD_ISSET(s, &failed) || error != 0) {
        if (ready == 0)
            std::snprintf(why, why_size, "no answer within %u ms", timeout_ms);
        else
            std::snprintf(why, why_size, "connection refused (error %d)", error);
        closesocket(s);
        return false;
    }
    context->socket = s;
    context->failed = false;
    context->queued = 0;
    if (context->queue == nullptr)
        context->queue = new uint8_t[kQueueSize];
    return true;
}

void TransportClose(NetworkContext* context) {
    if (context->socket != INVALID_SOCKET)
        closesocket(context->socket);
    context->socket = INVALID_SOCKET;
    context->queued = 0;
}

bool TransportFlush(NetworkContext* context) {
    if (context->failed || context->socket == INVALID_SOCKET)
        return false;
    size_t sent = 0;
    while (sent < context->queued) {
        const int n = send(context->socket, reinterpret_cast<const char*>(context->queue) + sent,
                           static_cast<int>(context->queued - sent), 0);
        if (n > 0) {
            sent += static_cast<size_t>(n);
        } else if (n < 0 && WouldBlock()) {
            break;
        } else {
            context->failed = true;
            return false;
        }
    }
    std::memmove(context->queue, context->queue + sent, context->queued - sent);
    context->queued -= sent;
    return true;
}

size_t TransportPending(const NetworkContext* context) {
    u_long bytes = 0;
    if (context->socket == INVALID_SOCKET || ioctlsocket(context->socket, FIONREAD, &bytes) != 0)
        return 0;
    return bytes;
}

size_t TransportRoom(const NetworkContext* context) {
    return kQueueSize - context->queued;
}

void TransportWait(NetworkContext* context, unsigned timeout_ms) {
    if (context->socket == INVALID_SOCKET) {
        Sleep(timeout_ms);
        return;
    }
    fd_set readable, writable;
    FD_ZERO(&readable);
    FD_ZERO(&writable);
    FD_SET(context->socket, &readable);
    if (context->queued > 0)
        FD_SET(context->socket, &writable);
    timeval limit{static_cast<long>(timeout_ms / 1000),
                  static_cast<long>(timeout_ms % 1000) * 1000};
    select(0, &readable, &writable, nullptr, &limit);
}

int32_t TransportRecv(NetworkContext* context, void* buffer, size_t bytes) {
    if (context->failed || context->socket == INVALID_SOCKET)
        return -1;
    const int n = recv(context->socket, static_cast<char*>(buffer), static_cast<int>(bytes), 0);
    if (n > 0)
        return n;
    if (n < 0 && WouldBlock())
        return 0;
    context->failed = true;  // 0: the broker closed the connection
    return -1;
}

int32_t TransportSend(NetworkContext* context, const void* buffer, size_t bytes) {
    if (context->failed || context->socket == INVALID_SOCKET)
        return -1;
    if (bytes > TransportRoom(context)) {
        // Only a packet that Room did not admit gets here (the library's own pings and acks
        // are small): take what fits, the rest on the library's next try.
        TransportFlush(context);
        bytes = bytes < TransportRoom(context) ? bytes : TransportRoom(context);
    }
    std::memcpy(context->queue + context->queued, buffer, bytes);
    context->queued += bytes;
    TransportFlush(context);
    return context->failed ? -1 : static_cast<int32_t>(bytes);
}

}  // namespace bridge
