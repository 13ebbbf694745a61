// Text fields and the on-screen keypad.
#include "fields.h"

#include "../frame/state.h"

void fill_fields_from_settings() { vl.fields[0][0] = vl.fields[1][0] = vl.fields[2][0] = '\0'; }
void insert_char(int32_t, uint32_t) {}
void insert_text(int32_t, const char *) {}
void delete_last_char(int32_t) {}
void commit_fields() {}
void end_editing() {}
void close_keypad(bool) {}
