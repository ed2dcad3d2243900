#pragma once
// Table-driven window procedures: each window class has a table of
// {message id, handler} rows searched in order; the first row whose id equals
// the message handles it, and a message with no row goes to the fallback
// (DefWindowProcW in the program) with its arguments unchanged.

#include <cstdint>
#include <span>
#include <utility>

namespace quelor {

template <class Handler>
struct MessageRow {
  std::uint32_t message;
  Handler handler;
};

// The row that handles `message`, or nullptr.
template <class Handler>
const MessageRow<Handler>* find_message_row(std::span<const MessageRow<Handler>> table, std::uint32_t message) {
  for (const MessageRow<Handler>& row : table)
    if (row.message == message) return &row;
  return nullptr;
}

// Calls the handler of the first matching row with (window, message, w, l)
// and returns its result; without a row returns fallback(window, message, w, l).
template <class Handler, class Fallback, class Window, class WParam, class LParam>
auto dispatch_message(std::span<const MessageRow<Handler>> table, Fallback&& fallback, Window window,
                      std::uint32_t message, WParam w, LParam l) {
  if (const MessageRow<Handler>* row = find_message_row(table, message)) return row->handler(window, message, w, l);
  return std::forward<Fallback>(fallback)(window, message, w, l);
}

}  // namespace quelor
