/* The MQTT library's settings for the bridge. The library itself stays as released; only this
 * file says how it behaves here. */
#ifndef MDN_BRIDGE_CORE_MQTT_CONFIG_H
#define MDN_BRIDGE_CORE_MQTT_CONFIG_H

#ifdef __cplusplus
extern "C" {
#endif
/* The library's own error lines go to the console with the bridge's other lines. */
void MdnBridgeLibraryError(const char* format, ...) __attribute__((format(printf, 1, 2)));
#ifdef __cplusplus
}
#endif

#define LogError(message) MdnBridgeLibraryError message

/* A packet's rest arrives within this on any working link; longer means the link is gone. */
#define MQTT_RECV_POLLING_TIMEOUT_MS (200U)
/* Sends go into the transport's own queue and never wait on the socket (transport.h). */
#define MQTT_SEND_TIMEOUT_MS (200U)
#define MQTT_PINGRESP_TIMEOUT_MS (5000U)

#endif
