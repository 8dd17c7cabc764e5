// Range handlers: gauges answer custom panel tokens (65536 and up) through callbacks they
// register, offered in registration order until one reports the token handled.
#include <atomic>

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
    uint32_t registration;  // order of registration, for offers made while handlers change
};

// Lookups on other threads walk the handlers while the simulator's thread registers: removed
// records are kept until unload, since such a lookup may still be calling one.
runtime::CallbackRegistry<RangeHandler, true> handlers;
std::atomic<uint32_t> registrations{0};  // read by lookups on other threads

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
    const uint32_t added = handlers.Add(callback, [&](RangeHandler& handler) {
        handler.callback = callback;
        handler.first_token = first_token;
        handler.last_token = last_token;
        handler.registration = registrations.load(std::memory_order_relaxed);
    });
    if (added != 0)
        registrations.fetch_add(1, std::memory_order_relaxed);
    return added;
}

uint32_t MDN_STDCALL UnregisterRangeHandler(uint32_t handle) {
    RangeHandler* handler = handlers.Find(handle);
    return handler != nullptr && handlers.Remove(handler) ? 1 : 0;
}

bool OfferToRangeHandlers(MdnVariableQuery* query) {
    const uint32_t token = static_cast<uint32_t>(query->token);
    // Handlers registered by a handler during this offer are not offered it: a handler that
    // registers itself again cannot keep the lookup going for ever.
    const uint32_t registered_before = registrations.load(std::memory_order_relaxed);
    size_t i = 0;
    while (i < handlers.Count()) {
        const RangeHandler* handler = handlers.At(i);
        if (handler == nullptr)
            break;  // removed by the simulator's thread meanwhile
        if (handler->callback == nullptr || handler->first_token > token ||
            handler->last_token < token || handler->registration >= registered_before) {
            ++i;
            continue;
        }
        if (handler->callback(query) != 0)
            return true;
        // The handler may have unregistered itself or others (its record is then gone and
        // is not touched again): go on after its record, or at the same place without it.
        if (handlers.At(i) == handler) {
            ++i;
        } else {
            const size_t at = handlers.IndexOf(handler);
            if (at != handlers.Count())
                i = at + 1;
        }
    }
    return false;
}

}  // namespace navigation
