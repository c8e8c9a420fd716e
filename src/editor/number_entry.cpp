#include "editor/number_entry.h"

#include "editor/desktop.h"

namespace tal {

bool NumberEntry::keyPress(char32_t key) {
    if (key >= U'0' && key <= U'9')
        return true;
    m_desktop.beep();
    return false;
}

}  // namespace tal
