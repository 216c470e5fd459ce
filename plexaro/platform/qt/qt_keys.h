#pragma once

#include <Qt>
#include <optional>

namespace plexaro {

// The virtual-key code of a Qt key press, as the form's key handler takes it: letters in
// either case are 'A' to 'Z', the numeric pad's + and - are 107 and 109, the main keyboard's
// =/+ and -/_ are 187 and 189. Keys the form has no code for give nothing.
[[nodiscard]] std::optional<int> virtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace plexaro
