#include "MiniTest.h"

int wmain() { return minitest::RunAll(); }
