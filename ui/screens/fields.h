// The three text fields of the online page and the on-screen keypad.
#pragma once

#include <cstdint>

#include "../frame/vorla_ui.h"

// The fields by the header's numbers, which vl_test_field takes.
enum vl_field : int32_t { kFieldName = VL_FIELD_NAME, kFieldHost = VL_FIELD_HOST, kFieldPort = VL_FIELD_PORT };
constexpr int32_t kFieldCount = VL_FIELD_PORT + 1;

void fill_fields_from_settings();
void insert_char(int32_t field, uint32_t c);
void insert_text(int32_t field, const char *text);
void delete_last_char(int32_t field);
void commit_fields();
void end_editing();
void close_keypad(bool keep);

// The port field's two readings, which differ on purpose (leading_number and
// leading_number_after_blanks say how each reads the number):
// port_text_is_valid decides what a request may use: the host and join checks, the enabling
// of their buttons, and whether commit_fields stores the port. Not empty, and its leading
// number in kPortMin..kPortMax; " 80" is no port.
bool port_text_is_valid(const char *text);
// port_text_looks_valid decides how the field is shown: its colour and the online page's
// hint. Not empty, and the number after any leading blanks in range; " 80" looks valid.
bool port_text_looks_valid(const char *text);

// The note of a request with an invalid port, and the online page's hint for it.
constexpr const char *kNotePortRange = "Port must be 1-65535";
