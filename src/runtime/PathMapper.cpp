#include "runtime/PathMapper.h"
