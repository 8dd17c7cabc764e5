// Range handlers: gauges answer custom panel tokens (65536 and up) through callbacks they
// register, offered in registration order until one reports the token handled.
#include <algorithm>
#include <vector>

#include "navigation/internal.h"
#include "navigation/navigation.h"

namespace navigation {
namespace {

struct RangeHandler {
    uint32_t handle;
    MdnRangeHandler callback;
    uint32_t first_token;
    uint32_t last_token;
    uint32_t registration;  // order of registration, for offers made while handlers change
};

std::vector<RangeHandler*> handlers;
uint32_t registrations = 0;

void DestroyAll() {
    for (RangeHandler* handler : handlers)
        delete handler;
    handlers.clear();
}

}  // namespace

void LoadRangeHandlers() {
    DestroyAll();
}

void UnloadRangeHandlers() {
    DestroyAll();
    std::vector<RangeHandler*>().swap(handlers);
}

uint32_t MDN_STDCALL RegisterRangeHandler(MdnRangeHandler callback, uint32_t first_token,
                                          uint32_t last_token) {
    if (callback == nullptr)
        return 0;
    const uint32_t handle = ~static_cast<uint32_t>(reinterpret_cast<uintptr_t>(callback));
    for (const RangeHandler* handler : handlers) {
        // The range stays as first registered.
        if (handler->handle == handle)
            return handle;
    }
    handlers.push_back(
        new RangeHandler{handle, callback, first_token, last_token, registrations++});
    return handle;
}

uint32_t MDN_STDCALL UnregisterRangeHandler(uint32_t handle) {
    for (auto it = handlers.begin(); it != handlers.end(); ++it) {
        if ((*it)->handle == handle) {
            delete *it;
            handlers.erase(it);
            return 1;
        }
    }
    return 0;
}

bool OfferToRangeHandlers(MdnVariableQuery* query) {
    const uint32_t token = static_cast<uint32_t>(query->token);
    // Handlers registered by a handler during this offer are not offered it: a handler that
    // registers itself again cannot keep the lookup going for ever.
    const uint32_t registered_before = registrations;
    size_t i = 0;
    while (i < handlers.size()) {
        const RangeHandler* handler = handlers[i];
        if (handler->callback == nullptr || handler->first_token > token ||
            handler->last_token < token || handler->registration >= registered_before) {
            ++i;
            continue;
        }
        if (handler->callback(query) != 0)
            return true;
        // The handler may have unregistered itself or others (its record is then gone and
        // is not touched again): go on after its record, or at the same place without it.
        if (i < handlers.size() && handlers[i] == handler) {
            ++i;
        } else {
            auto it = std::find(handlers.begin(), handlers.end(), handler);
            if (it != handlers.end())
                i = static_cast<size_t>(it - handlers.begin()) + 1;
        }
    }
    return false;
}

}  // namespace navigation
