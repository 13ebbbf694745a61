// The keyboard and controller pages: console drawing, prompt and stick view.
#include "painters.h"

void paint_input_page() {}
