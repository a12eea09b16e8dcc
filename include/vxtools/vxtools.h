// vxtools: everything a program may use. Include this one header.
#pragma once

#include "vxtools/core.h"
#include "vxtools/desktop.h"
#include "vxtools/display.h"
#include "vxtools/graphics.h"
#include "vxtools/input.h"
#include "vxtools/menus.h"
#include "vxtools/records.h"
#include "vxtools/text.h"

// Fonts for programs (the vxfonts library) and the application (the vxtools_shell library).
#include "vxtools/application.h"
#include "vxtools/psf_font.h"

#if __has_include("vxtools/extensions.h")
#include "vxtools/extensions.h"
#endif
