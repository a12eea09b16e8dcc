// vxtools: the whole toolkit for a program. Include this one header.
#pragma once

#include "core/clock.h"
#include "core/handler.h"
#include "core/log.h"
#include "core/platform.h"
#include "core/program.h"
#include "core/state.h"
#include "core/strings.h"
#include "core/threads.h"
#include "display/composition.h"
#include "display/refresh.h"
#include "display/window.h"
#include "input/events.h"
