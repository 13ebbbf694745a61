// The online page: connection captions, lobby table, hints and quality.
#include "painters.h"

void paint_online_page() {}
