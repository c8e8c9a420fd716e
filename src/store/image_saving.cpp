#include "store/image_saving.h"

#include <string_view>
#include <vector>

#include "editor/editor_state.h"
#include "store/change_extension.h"
#include "store/editing_tables.h"
#include "store/file_system.h"
#include "store/program_store.h"
#include "store/remarks_file.h"

namespace tal {

SaveStatus saveWorkingFile(ProgramStore& store, const std::string& target, int& error) {
    error = 0;
    const std::string remarks = store.remarksFileBytes();
    if (!store.rebuildImage())
        return SaveStatus::BlankUnreadable;

    StagedWrite remarksFile(ChangeExtension(target, "txt"), remarks);
    if (remarksFile.status() == WriteStatus::WriteFailed) {
        error = remarksFile.error();
        return SaveStatus::RemarksWriteFailed;
    }
    const Image& image = store.state().currentImage;
    StagedWrite workingFile(
        target, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
    if (workingFile.status() != WriteStatus::Ok) {
        error = workingFile.error();
        return workingFile.status() == WriteStatus::CreateFailed ? SaveStatus::CreateFailed
                                                                 : SaveStatus::WriteFailed;
    }
    // A rename into the same folder hardly fails; a write in place (a device, a folder that
    // refuses new files) may, so it goes first. Otherwise the working file goes first: should
    // the remarks then fail to take their place, the image is saved and the remarks are those
    // of the last save.
    const bool remarksStaged = remarksFile.status() == WriteStatus::Ok;
    const bool remarksFirst = remarksFile.writesInPlace();
    if (remarksStaged && remarksFirst && remarksFile.commit() != WriteStatus::Ok) {
        error = remarksFile.error();
        return SaveStatus::RemarksWriteFailed;
    }
    if (workingFile.commit() != WriteStatus::Ok) {
        error = workingFile.error();
        return SaveStatus::WriteFailed;
    }
    if (remarksStaged && !remarksFirst && remarksFile.commit() != WriteStatus::Ok) {
        error = remarksFile.error();
        return SaveStatus::RemarksWriteFailed;
    }
    return SaveStatus::Saved;
}

}  // namespace tal
