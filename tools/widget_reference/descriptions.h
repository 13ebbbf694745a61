// The descriptions of what activating each widget does (descriptions.cpp).
#pragma once

struct vl_description {
    const char *id;    // a widget id; '#' stands for one digit
    const char *does;  // markdown text of the guide
};

extern const vl_description kDescriptions[];
extern const int kDescriptionCount;
