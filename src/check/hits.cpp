#include "check/hits.h"
