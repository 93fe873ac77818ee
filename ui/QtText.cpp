#include "ui/QtText.h"
