// Range handlers: gauges answer custom panel tokens (65536 and up) through callbacks they
// register, offered in registration order until one reports the token handled.
#include "navigation/panels_hook.h"
#include "navigation/navigation.h"
#include "runtime/callback_registry.h"

namespace navigation {
namespace {

struct RangeHandler {
    uint32_t handle;
    MdnRangeHandler callback;
    uint32_t first_token;
    uint32_t last_token;
};

// Lookups on other threads walk the handlers and call them while the simulator's thread
// registers and removes: arrays and removed records stay until no lookup holds them.
runtime::CallbackRegistry<RangeHandler, true> handlers;

}  // namespace

void LoadRangeHandlers() {
    handlers.Clear();
}

void UnloadRangeHandlers() {
    handlers.Clear();
}

uint32_t MDN_STDCALL RegisterRangeHandler(MdnRangeHandler callback, uint32_t first_token,
                                          uint32_t last_token) {
    if (callback == nullptr)
        return 0;
    const uint32_t handle = handlers.HandleOf(callback);
    // The range stays as first registered.
    if (handlers.Find(handle) != nullptr)
        return handle;
    return handlers.Add(callback, [&](RangeHandler& handler) {
        handler.callback = callback;
        handler.first_token = first_token;
        handler.last_token = last_token;
    });
}

uint32_t MDN_STDCALL UnregisterRangeHandler(uint32_t handle) {
    RangeHandler* handler = handlers.Find(handle);
    return handler != nullptr && handlers.Remove(handler) ? 1 : 0;
}

// The handlers as they stood when the offer began: one registered meanwhile (a handler that
// registers itself again, say) is not offered the token, so the walk always ends; one removed
// meanwhile, by a handler or by the simulator's thread, is not called any more.
bool OfferToRangeHandlers(MdnVariableQuery* query) {
    const uint32_t token = static_cast<uint32_t>(query->token);
    const auto all = handlers.Read();
    for (const RangeHandler* handler : all) {
        if (handler->callback == nullptr || handler->first_token > token ||
            handler->last_token < token || handlers.Removed(handler))
            continue;
        if (handler->callback(query) != 0)
            return true;
    }
    return false;
}

}  // namespace navigation
