// Commands back: a command's name becomes the key combination bound to it, pressed as if on the
// simulator's keyboard, so the module runs the command through its own hot-key path and its
// binary interface stays as it is. The module's own commands take their keys from its settings
// file, read with the module's own code; gauges' commands from the bridge's [keys] section.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "bridge_settings.h"
#include "keyboard/key_grammar.h"

namespace bridge {

class CommandKeys {
  public:
    // Reads the bindings and says on the console what it found.
    void Load(const Settings& settings);
    // A message on a command topic: checked, then queued to be pressed.
    void Offer(std::string_view name, const uint8_t* payload, size_t size);
    // Presses the next queued command once the last press has had its time.
    void Pump();

  private:
    struct Binding {
        std::string name;
        keyboard::KeyCombination key;
    };
    const Binding* Find(std::string_view name) const;
    std::vector<Binding> bindings_;
    std::deque<const Binding*> queue_;
    uint32_t last_press_ = 0;
    bool pressed_ = false;
};

}  // namespace bridge
