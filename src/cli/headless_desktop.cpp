#include "cli/headless_desktop.h"

#include <ostream>

namespace tal {

MessageAnswer HeadlessDesktop::showMessage(const std::string& text, const std::string& caption,
                                           MessageIcon icon, MessageButtons buttons) {
    m_errors << caption << ": " << text << '\n';
    if (icon == MessageIcon::Error)
        ++m_errorCount;
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

NewProgramResult HeadlessDesktop::askNewProgram(unsigned, bool) {
    // Each queued answer is given once; a repeated question (the number was refused) cancels.
    if (m_newPrograms.empty())
        return {DialogAnswer::Cancel, 0};
    const NewProgramResult result = m_newPrograms.front();
    m_newPrograms.pop_front();
    return result;
}

}  // namespace tal
