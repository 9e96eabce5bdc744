#pragma once

// The offset file: how it is read and saved, and what it holds.
#include "settings/offset_setting.h"
#include "settings/saved_file.h"
