// widget_reference: the host guide's reference of every widget id of every page and
// overlay, generated from the layout tables (ui/screens/layouts.cpp) and the descriptions
// beside this file, between the guide's two marker lines.
//   widget_reference --check GUIDE   exits 1 when the guide's section differs from the tables,
//                                    naming the lines that differ
//   widget_reference --write GUIDE   rewrites the section
// Either way it fails when a layout id has no description or a description matches no id.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "descriptions.h"
#include "frame/frame.h"
#include "screens/layouts.h"

namespace {

const char kBegin[] = "<!-- widget-reference:begin";
const char kEnd[] = "<!-- widget-reference:end -->";

struct Screen {
    const char *title;
    const char *where;
    const vl_layout *layout;
};

const Screen kScreens[] = {
    {"Main page", "`Page.MAIN` (0).", &kMainLayout},
    {"Keyboard and controller pages",
     "`Page.KEYBOARD` (1) and `Page.CONTROLLER` (2) share one layout. A binding waits for the next key or "
     "button (`inspect.capture()` gives its slot); Escape cancels the wait.",
     &kInputLayout},
    {"Settings page", "`Page.SETTINGS` (4).", &kSettingsLayout},
    {"Online page",
     "`Page.ONLINE` (3). *Idle* means the lobby state is `NOT_CONNECTED`. Exactly one of `online_host` and "
     "`online_join` is shown, after the role switch.",
     &kOnlineLayout},
    {"Confirmation dialog",
     "Over the settings page after `save_import`, with the focus on \"No\"; while it is open these are the "
     "only widgets (`inspect.confirm()` is `True`).",
     &kConfirmLayout},
    {"On-screen keypad",
     "Over the online page when the controller's A presses the host address or the port, with the focus on "
     "`kp_5`; while it is open these are the only widgets (`inspect.keypad()` gives the field).",
     &kKeypadLayout},
};

const char *kind_name(int32_t kind) {
    switch (static_cast<vl_widget_kind>(kind)) {
    case kButton: return "button";
    case kChoice: return "choice";
    case kSwitch: return "switch";
    case kSlider: return "slider";
    case kBinding: return "binding";
    case kTextField: return "text field";
    case kAddressRow: return "address row";
    case kCard: return "card";
    }
    return "?";
}


// A rule in words. Every rule needs one: a new rule without words does not compile.
std::string rule_words(vl_rule rule, int32_t arg) {
    const std::string n = std::to_string(arg);
    switch (rule) {
    case kAlways: return "always";
    case kNever: return "never";
    case kPageIs: return std::string("on the ") + page_name(arg) + " page";
    case kPlayReady: return "a ROM is ready (build state not `NO_ROM`, `rom_ok` set)";
    case kNotPreparing: return "the build state is not `PREPARING`";
    case kRomUsable: return "a ROM is usable (`rom_path` and `rom_ok` set)";
    case kWindowed: return "not full screen";
    case kFullscreen: return "full screen";
    case kScaleIs: return "`scale` is " + n;
    case kScalingIs: {
        static const char *const scalings[] = {"integer", "fit", "stretch"};
        return std::string("`scaling` is ") + (arg >= 0 && arg < 3 ? scalings[arg] : "?");
    }
    case kMuted: return "muted";
    case kStickAsDpad: return "the stick acts as the d-pad";
    case kIdle: return "idle";
    case kIdleManualDelay: return "idle and the delay is not automatic";
    case kAutoDelay: return "the delay is automatic";
    case kPlayersIs: return "`players` is " + n;
    case kTransportIs: return std::string("`transport` is \"") + (arg >= 0 && arg < 3 ? kTransportNames[arg] : "?") + "\"";
    case kRoleIs: return arg == 0 ? "the role is Host" : "the role is Join";
    case kHostAllowed: return "idle and the port field holds a port 1..65535";
    case kJoinAllowed: return "idle, the port field holds a port 1..65535 and the host address is not empty";
    case kCopyAllowed: return "not `IN_GAME` and the host reports an address";
    case kReadyAllowed: return "the lobby is `WAITING` or `CONNECTED`";
    case kStartAllowed: return "`WAITING` with two or more players, all of them `READY`";
    case kLinked: return "not idle";
    case kLocalReady: return "this player's slot is `READY`";
    case kHasAddress: return "not `IN_GAME` and the host reports address " + n;
    case kKeypadFieldIs: return arg == 1 ? "the keypad edits the host address" : "the keypad edits field " + n;
    }
    return "?";
}

std::string words(const vl_cond &c) {
    const std::string w = rule_words(c.rule, c.arg);
    return c.negate ? "unless " + w : w;
}

bool same(const vl_cond &a, const vl_cond &b) { return a.rule == b.rule && a.arg == b.arg && a.negate == b.negate; }

bool complementary(const vl_cond &a, const vl_cond &b) {
    return a.rule == b.rule && a.arg == b.arg && a.negate != b.negate;
}

std::string cell(std::string text) {
    for (std::size_t at = 0; (at = text.find('|', at)) != std::string::npos; at += 3) text.replace(at, 1, " / ");
    return text.empty() ? "-" : text;
}

bool matches(const char *pattern, const char *id) {
    if (std::strlen(pattern) != std::strlen(id)) return false;
    for (; *pattern; ++pattern, ++id)
        if (*pattern == '#' ? (*id < '0' || *id > '9') : *pattern != *id) return false;
    return true;
}

// The description of an id: an exact row first, then a digit family.
const vl_description *description_of(const char *id) {
    for (int i = 0; i < kDescriptionCount; ++i)
        if (!std::strcmp(kDescriptions[i].id, id)) return &kDescriptions[i];
    for (int i = 0; i < kDescriptionCount; ++i)
        if (matches(kDescriptions[i].id, id)) return &kDescriptions[i];
    return nullptr;
}

std::string rectangle(const vl_layout_row &r) {
    std::ostringstream out;
    if (r.w == kFitLabel)
        out << "right edge " << r.x << ", " << r.y << ", label width + " << 2 * kFitPadding << " x " << r.h;
    else
        out << r.x << ", " << r.y << ", " << r.w << " x " << r.h;
    return out.str();
}

// The rows of one id, joined: alternatives of one widget (the two labels of "play") are
// rows of which one is present at a time.
std::string table_row(const std::vector<const vl_layout_row *> &rows) {
    const vl_layout_row &first = *rows.front();
    std::string label, shown, enabled, on;
    const bool one_label = rows.size() == 1 || !std::strcmp(rows[0]->label, rows[1]->label);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const vl_layout_row &r = *rows[i];
        const std::string quoted = r.label[0] ? std::string("\"") + r.label + "\"" : "";
        if (!one_label) label += (i ? "; " : "") + quoted + " when " + words(r.present);
        if (!one_label && rows.size() == 2 && complementary(rows[0]->present, rows[1]->present))
            label = std::string("\"") + rows[0]->label + "\" when " + words(rows[0]->present) + "; \"" +
                    rows[1]->label + "\" otherwise";
        shown += (i ? " or " : "") + words(r.present);
    }
    if (one_label) label = first.label[0] ? std::string("\"") + first.label + "\"" : "";
    if (rows.size() == 2 && complementary(rows[0]->present, rows[1]->present)) shown = "always";
    enabled = words(first.enabled);
    for (const vl_layout_row *r : rows)
        if (!same(r->enabled, first.enabled)) enabled += " / " + words(r->enabled);
    on = first.kind == kChoice || first.kind == kSwitch ? words(first.on) : "";
    const vl_description *d = description_of(first.id);
    return "| `" + std::string(first.id) + "` | " + kind_name(first.kind) + " | " + cell(label) + " | " +
           rectangle(first) + " | " + cell(shown) + " | " + cell(enabled) + " | " + cell(on) + " | " +
           cell(d ? d->does : "") + " |";
}

std::vector<std::string> reference() {
    std::vector<std::string> lines;
    for (const Screen &screen : kScreens) {
        lines.push_back("");
        lines.push_back(std::string("### ") + screen.title);
        lines.push_back("");
        lines.push_back(screen.where);
        lines.push_back("");
        lines.push_back("| id | kind | label | x, y, w x h | shown | enabled | on | activating it |");
        lines.push_back("|---|---|---|---|---|---|---|---|");
        std::vector<std::string> done;
        const vl_layout &layout = *screen.layout;
        for (int32_t i = 0; i < layout.count; ++i) {
            const char *id = layout.rows[i].id;
            bool seen = false;
            for (const std::string &d : done) seen = seen || d == id;
            if (seen) continue;
            done.push_back(id);
            std::vector<const vl_layout_row *> rows;
            for (int32_t j = i; j < layout.count; ++j)
                if (!std::strcmp(layout.rows[j].id, id)) rows.push_back(&layout.rows[j]);
            lines.push_back(table_row(rows));
        }
    }
    lines.push_back("");
    return lines;
}

// Every layout id has a description and every description names an id of some layout.
int description_problems() {
    int problems = 0;
    std::vector<bool> used(static_cast<std::size_t>(kDescriptionCount), false);
    for (const Screen &screen : kScreens) {
        for (int32_t i = 0; i < screen.layout->count; ++i) {
            const char *id = screen.layout->rows[i].id;
            const vl_description *d = description_of(id);
            if (!d) {
                std::cerr << "widget_reference: the id \"" << id << "\" of the " << screen.title
                          << " has no description in tools/widget_reference/descriptions.cpp\n";
                ++problems;
                continue;
            }
            used[static_cast<std::size_t>(d - kDescriptions)] = true;
        }
    }
    for (int i = 0; i < kDescriptionCount; ++i) {
        if (used[static_cast<std::size_t>(i)]) continue;
        std::cerr << "widget_reference: the description of \"" << kDescriptions[i].id
                  << "\" names no widget of any layout\n";
        ++problems;
    }
    return problems;
}

bool read_lines(const char *path, std::vector<std::string> &lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return true;
}

bool starts_with(const std::string &text, const char *prefix) { return text.compare(0, std::strlen(prefix), prefix) == 0; }

} // namespace

int main(int argc, char **argv) {
    if (argc != 3 || (std::strcmp(argv[1], "--check") && std::strcmp(argv[1], "--write"))) {
        std::cerr << "usage: widget_reference --check|--write GUIDE\n";
        return 2;
    }
    const bool write = !std::strcmp(argv[1], "--write");
    const char *path = argv[2];
    std::vector<std::string> guide;
    if (!read_lines(path, guide)) {
        std::cerr << "widget_reference: cannot read " << path << "\n";
        return 1;
    }
    std::size_t begin = guide.size(), end = guide.size();
    for (std::size_t i = 0; i < guide.size(); ++i) {
        if (starts_with(guide[i], kBegin) && begin == guide.size()) begin = i;
        if (guide[i] == kEnd && begin < i) end = i;
    }
    if (end == guide.size()) {
        std::cerr << "widget_reference: " << path << " has no section between a line starting \"" << kBegin
                  << "\" and the line \"" << kEnd << "\"\n";
        return 1;
    }
    int problems = description_problems();
    const std::vector<std::string> generated = reference();
    const std::vector<std::string> current(guide.begin() + static_cast<long>(begin) + 1,
                                           guide.begin() + static_cast<long>(end));
    if (write) {
        if (problems) return 1;
        if (current == generated) return 0;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (std::size_t i = 0; i <= begin; ++i) out << guide[i] << "\n";
        for (const std::string &line : generated) out << line << "\n";
        for (std::size_t i = end; i < guide.size(); ++i) out << guide[i] << "\n";
        std::cout << "widget_reference: rewrote the widget reference of " << path << "\n";
        return out ? 0 : 1;
    }
    if (current != generated) {
        const std::set<std::string> have(current.begin(), current.end()), want(generated.begin(), generated.end());
        std::cerr << "widget_reference: the widget reference of " << path << " differs from the layout tables "
                  << "(rewrite it with `cmake --build <build> --target widget_reference_guide`):\n";
        for (const std::string &line : generated)
            if (!have.count(line)) std::cerr << "  the tables give: " << line << "\n";
        for (const std::string &line : current)
            if (!want.count(line)) std::cerr << "  the guide has:   " << line << "\n";
        if (have == want) std::cerr << "  (the same lines in another order)\n";
        ++problems;
    }
    return problems ? 1 : 0;
}
