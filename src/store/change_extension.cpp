#include "store/change_extension.h"

#include "store/text.h"

namespace tal {

std::string ChangeExtension(const std::string& name, const std::string& extension) {
    if (name.empty())
        return {};
    const std::size_t length = utf8Length(name);
    if (length < 3)
        return extension;
    return utf8Truncate(name, length - 3) + extension;
}

}  // namespace tal
