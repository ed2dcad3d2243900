#pragma once
// Resource ids shared by the resource script and the code.

#define QUELOR_ICON_ID 108
#define QUELOR_MESSAGE_TEXT_ID 550
