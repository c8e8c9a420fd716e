#pragma once

#include <string>
#include <vector>

namespace tal {

class Desktop;
class LimitsTable;
struct EditorState;

// The machine models of the limits table in its order, each once (letter case ignored). Opens the
// table if needed; throws EngineError when it cannot be read.
std::vector<std::string> limitsModels(LimitsTable& limits);

// At start-up: a machine model that names no model of the limits table (a TAL.cfg saved as UTF-8
// does this) would leave every value unchecked without a word, so it is said once, naming the
// model and the table's models. No settings file (an empty model) is the documented quiet case.
// True when a warning was shown.
bool WarnUnknownModel(const EditorState& state, LimitsTable& limits, Desktop& desktop);

}  // namespace tal
