// The rules of activate() as tables, so that a check can walk them beside the layouts
// (tests/widget_ids_test.cpp): a widget is its layout row, its activation rule and,
// where code names it, one of kIdsNamedInCode, all joined by the id text.
#pragma once

#include <cstdint>

enum class vl_after : uint8_t {
    rebuild,  // activate() builds the list again
    stop,     // the action built the list itself and placed the focus
};

// One row of the id table. Rows are tried in this order: the kinds of kind_rule first
// (text fields and bindings act by kind, whatever their id), then every whole id, then the
// families, each of which matches the ids that start with its prefix and whose rest it
// accepts ("size" with "1" to "6").
struct vl_id_rule {
    const char *id;                     // the whole id, or a family's prefix
    bool (*accepts)(const char *rest);  // null for a whole id
    vl_after (*act)(const char *rest);  // null: inert on purpose (sliders move by drag and arrows)
};

extern const vl_id_rule kIdRules[];
extern const int32_t kIdRuleCount;

bool activated_by_kind(int32_t kind);           // text fields and bindings
const vl_id_rule *id_rule_for(const char *id);  // the row that acts for this id, null none
