#include "WinTestSupport.h"
