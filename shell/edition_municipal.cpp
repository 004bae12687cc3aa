#include "shell/bootstrap.h"

talvera::Edition talvera::buildEdition()
{
    return Edition::Municipal;
}
