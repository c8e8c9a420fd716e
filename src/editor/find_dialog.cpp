#include "editor/find_dialog.h"

#include "editor/typed_text.h"

namespace tal {

std::optional<long long> FindDialog::Button1Click() const {
    const std::string& text = entryText();
    if (text.empty())
        return std::nullopt;
    const TypedText typed = parseTypedText(text, TypedKind::Integer);
    if (const std::string* refusal = typed.refusal())
        throw InvalidIntegerError(*refusal);
    // Blanks alone spell no number either.
    if (!typed.value()->isInteger())
        throw InvalidIntegerError("'" + text + "' is not a valid integer value");
    return *typed.value()->integerIf();
}

}  // namespace tal
