// The call observer: lets a test look at the module while one platform call is in progress.
#include "area.h"

namespace fake {
namespace {

std::function<void(const std::string&)>& Observer() {
    static std::function<void(const std::string&)> observer;
    return observer;
}

ResetHook reset_observer([] { Observer() = nullptr; });

}  // namespace

void SetCallObserver(std::function<void(const std::string& line)> observer) {
    Observer() = std::move(observer);
}

void NotifyCallObserver(const std::string& line) {
    if (Observer())
        Observer()(line);
}

}  // namespace fake
