// build_page: the widget list of every page and overlay.
#include "widgets.h"

#include <cstring>

#include "../frame/state.h"

void build_page() { vl.widget_count = 0; vl.focus = 0; vl.refocus_id[0] = '\0'; }

int32_t find_widget(const char *id) {
    for (int32_t i = 0; i < vl.widget_count; ++i)
        if (std::strcmp(vl.widgets[i].id, id) == 0) return i;
    return -1;
}

int32_t leading_number(const char *text) { (void)text; return 0; }
bool port_text_is_valid(const char *text) { (void)text; return false; }
