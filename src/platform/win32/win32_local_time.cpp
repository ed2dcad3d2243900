#include "platform/win32/win32_local_time.h"

#include <windows.h>

namespace quelor {

LocalTime Win32LocalTime::local_time() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

}  // namespace quelor
