// A widget is its layout row, its activation rule and, where code names it, an entry of
// kIdsNamedInCode, all joined by the id text. These checks walk every layout and every
// rule, so a renamed or removed id fails here, naming it, instead of leaving a widget
// that silently does nothing.
#include <gtest/gtest.h>

#include <cstring>

#include "screens/activation.h"
#include "screens/layouts.h"

namespace {

// Calls `visit(layout name, row)` for every row of every layout.
template <typename Visit>
void for_each_row(Visit visit) {
    for (const vl_named_layout &named : kAllLayouts)
        for (int32_t i = 0; i < named.layout->count; ++i) visit(named.name, named.layout->rows[i]);
}

TEST(WidgetIds, EveryWidgetHasAnActivationRuleOrIsListedAsInert) {
    for_each_row([](const char *layout, const vl_layout_row &row) {
        if (activated_by_kind(row.kind)) {
            // Text fields and bindings act by kind before any id is looked at.
            EXPECT_EQ(id_rule_for(row.id), nullptr)
                << "\"" << row.id << "\" (" << layout << ") acts by its kind; a rule for its id would never run";
        } else {
            EXPECT_NE(id_rule_for(row.id), nullptr)
                << "\"" << row.id << "\" (" << layout << ") has no activation rule and is not listed as inert";
        }
    });
}

TEST(WidgetIds, EveryRuleActsOnSomeWidget) {
    for (int32_t i = 0; i < kIdRuleCount; ++i) {
        const vl_id_rule &rule = kIdRules[i];
        bool used = false;
        for_each_row([&](const char *, const vl_layout_row &row) {
            if (!activated_by_kind(row.kind) && id_rule_for(row.id) == &rule) used = true;
        });
        EXPECT_TRUE(used) << (rule.accepts ? "the family \"" : "the rule \"") << rule.id
                          << "\" acts on no widget of any layout";
    }
}

TEST(WidgetIds, IdsNamedInCodeAreInALayout) {
    for (const char *id : kIdsNamedInCode) {
        bool found = false;
        for_each_row([&](const char *, const vl_layout_row &row) { found = found || std::strcmp(row.id, id) == 0; });
        EXPECT_TRUE(found) << "\"" << id << "\" is named in code but is the id of no layout row";
    }
}

} // namespace
