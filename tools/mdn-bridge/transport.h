// The MQTT library's transport over Winsock: one TCP connection with TCP_NODELAY. Sends go into
// a queue of our own that the loop drains without waiting, so a slow broker never holds up the
// caller; a publish that does not fit is refused before it starts (Room), never cut.
#pragma once
#include <winsock2.h>

#include <cstddef>
#include <cstdint>

#include "transport_interface.h"

struct NetworkContext {
    SOCKET socket = INVALID_SOCKET;
    bool failed = false;
    uint8_t* queue = nullptr;  // kQueueSize bytes
    size_t queued = 0;
};

namespace bridge {

constexpr size_t kQueueSize = 64 * 1024;

bool StartWinsock();

// Connects to host:port within `timeout_ms`; false with a reason in `why` (cut to `why_size`).
bool TransportConnect(NetworkContext* context, const char* host, uint16_t port, unsigned timeout_ms,
                      char* why, size_t why_size);
void TransportClose(NetworkContext* context);
// Writes what the socket takes now; false once the connection failed.
bool TransportFlush(NetworkContext* context);
// Bytes that arrived and wait to be read.
size_t TransportPending(const NetworkContext* context);
// Bytes a send may still queue.
size_t TransportRoom(const NetworkContext* context);
// Waits at most `timeout_ms` for bytes to read or a queue that can drain.
void TransportWait(NetworkContext* context, unsigned timeout_ms);

// The library's calls: non-blocking; 0 when nothing can be read now, negative when the
// connection failed.
int32_t TransportRecv(NetworkContext* context, void* buffer, size_t bytes);
int32_t TransportSend(NetworkContext* context, const void* buffer, size_t bytes);

}  // namespace bridge
