#pragma once
// The JSON helpers live with the window core, where the recording printer uses them too.
#include "window/Json.h"
