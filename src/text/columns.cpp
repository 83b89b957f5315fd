#include "text/columns.h"

namespace geochain {

std::string describe_layout(const Layout& layout) {
    std::string text;
    for (const Column c : layout.columns) {
        text.append(text.empty() ? "" : " ").append(column_word(c));
    }
    if (layout.rest) {
        text.append(" ").append(REST_OPTION);
    }
    return text;
}

}  // namespace geochain
