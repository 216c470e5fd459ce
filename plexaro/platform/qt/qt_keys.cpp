#include "plexaro/platform/qt/qt_keys.h"

#include "plexaro/ui/main_form.h"

namespace plexaro {

std::optional<int> virtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers) {
  // Qt names letters by their capital whatever the case, as the virtual-key codes do.
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return vk::kReturn;
    case Qt::Key_Escape:
      return vk::kEscape;
    case Qt::Key_Space:
      return vk::kSpace;
    case Qt::Key_Home:
      return vk::kHome;
    case Qt::Key_Left:
      return vk::kLeft;
    case Qt::Key_Up:
      return vk::kUp;
    case Qt::Key_Right:
      return vk::kRight;
    case Qt::Key_Down:
      return vk::kDown;
    case Qt::Key_Delete:
      return vk::kDelete;
    // The key with = and + on the main keyboard reports either symbol, by the shift state.
    case Qt::Key_Plus:
      return keypad ? vk::kAdd : vk::kOemPlus;
    case Qt::Key_Equal:
      return vk::kOemPlus;
    case Qt::Key_Minus:
      return keypad ? vk::kSubtract : vk::kOemMinus;
    case Qt::Key_Underscore:
      return vk::kOemMinus;
    default:
      return std::nullopt;
  }
}

}  // namespace plexaro
