#include "laudofixture.h"
