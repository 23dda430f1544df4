#pragma once
#include "serial/comm_settings.h"
