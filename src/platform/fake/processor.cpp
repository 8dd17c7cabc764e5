// Fake processor features: SSE2 present unless a test takes it away.
#include <mutex>
#include <set>

#include "area.h"
#include "platform/fake_kernel.h"
#include "platform/kernel.h"

namespace fake {
namespace {

std::mutex features_mutex;
std::set<DWORD> features{PF_XMMI64_INSTRUCTIONS_AVAILABLE};

ResetHook reset_processor([] {
    std::lock_guard<std::mutex> lock(features_mutex);
    features = {PF_XMMI64_INSTRUCTIONS_AVAILABLE};
});

}  // namespace

void SetProcessorFeature(DWORD feature, bool present) {
    std::lock_guard<std::mutex> lock(features_mutex);
    if (present) {
        features.insert(feature);
    } else {
        features.erase(feature);
    }
}

}  // namespace fake

namespace platform {

BOOL IsProcessorFeaturePresent(DWORD feature) {
    fake::Log("IsProcessorFeaturePresent", feature);
    std::lock_guard<std::mutex> lock(fake::features_mutex);
    return fake::features.count(feature) != 0 ? TRUE : FALSE;
}

}  // namespace platform
