#include "PrefsFixture.h"
