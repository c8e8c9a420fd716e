#include "limits/model_warning.h"

#include "editor/desktop.h"
#include "editor/editor_state.h"
#include "limits/limits_table.h"
#include "store/text.h"

namespace tal {

std::vector<std::string> limitsModels(LimitsTable& limits) {
    limits.Open();
    Table& table = limits.table();
    std::vector<std::string> models;
    if (table.recordCount() == 0)
        return models;
    // The index orders rows by model ignoring letter case: a new model starts where the fold
    // changes.
    for (table.first(); !table.eof(); table.next()) {
        const std::string config = table.asText(lim::Config);
        if (models.empty() || foldCase(models.back()) != foldCase(config))
            models.push_back(config);
    }
    table.first();
    return models;
}

bool WarnUnknownModel(const EditorState& state, LimitsTable& limits, Desktop& desktop) {
    if (state.machineModel.empty())
        return false;
    const std::vector<std::string> models = limitsModels(limits);
    if (limits.hasModel(state.machineModel))
        return false;
    std::string known;
    for (const std::string& model : models)
        known += (known.empty() ? "«" : ", «") + model + "»";
    desktop.showMessage("Модель станка «" + state.machineModel +
                            "» из файла TAL.cfg не найдена в " + "таблице пределов " +
                            limits.path() + " (в ней " +
                            (known.empty() ? std::string("нет моделей") : "модели " + known) +
                            "). Значения не будут проверяться; выберите модель в окне настроек.",
                        "Загрузка приложения", MessageIcon::Information, MessageButtons::Ok);
    return true;
}

}  // namespace tal
