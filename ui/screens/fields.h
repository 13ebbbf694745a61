// The three text fields of the online page and the on-screen keypad.
#pragma once

#include <cstdint>

#include "../frame/vorla_ui.h"

// The fields by the header's numbers, which vl_test_field takes.
enum vl_field : int32_t { kFieldName = VL_FIELD_NAME, kFieldHost = VL_FIELD_HOST, kFieldPort = VL_FIELD_PORT };

void fill_fields_from_settings();
void insert_char(int32_t field, uint32_t c);
void insert_text(int32_t field, const char *text);
void delete_last_char(int32_t field);
void commit_fields();
void end_editing();
void close_keypad(bool keep);
