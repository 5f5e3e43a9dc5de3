#include "frontend/string_list.h"
