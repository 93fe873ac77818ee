#include "app/QtText.h"
