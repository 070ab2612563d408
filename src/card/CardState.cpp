#include "card/CardState.h"
