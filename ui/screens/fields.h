// The three text fields of the online page and the on-screen keypad.
#pragma once

#include <cstdint>

enum vl_field : int32_t { kFieldName = 0, kFieldHost = 1, kFieldPort = 2 };

void fill_fields_from_settings();
void insert_char(int32_t field, uint32_t c);
void insert_text(int32_t field, const char *text);
void delete_last_char(int32_t field);
void commit_fields();
void end_editing();
void close_keypad(bool keep);
