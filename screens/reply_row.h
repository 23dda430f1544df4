#pragma once
#include "db/reply_row.h"
