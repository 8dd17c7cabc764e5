#include "runtime/module_values.h"

namespace runtime {
namespace {

ModuleValues values;

}  // namespace

ModuleValues& Values() {
    return values;
}

}  // namespace runtime
