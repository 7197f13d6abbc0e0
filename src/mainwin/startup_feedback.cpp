#include "mainwin/startup_feedback.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstring>

namespace evo {
namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, false, std::strlen(name), name), nullptr);
  xcb_atom_t atom = XCB_ATOM_NONE;
  if (reply != nullptr) atom = reply->atom;
  std::free(reply);
  return atom;
}

}  // namespace

void EndStartupFeedback(const QByteArray& startupId) {
  if (startupId.isEmpty()) return;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) return;
  xcb_connection_t* connection = x11->connection();
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  // The message, with its closing NUL, goes to the root window in pieces of 20 bytes: the first
  // as _NET_STARTUP_INFO_BEGIN, the others as _NET_STARTUP_INFO.
  const QByteArray message = "remove: ID=" + startupId;
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 8;
  event.window = root;
  event.type = Atom(connection, "_NET_STARTUP_INFO_BEGIN");
  const xcb_atom_t continuation = Atom(connection, "_NET_STARTUP_INFO");
  const qsizetype length = message.size() + 1;
  for (qsizetype sent = 0; sent < length; sent += sizeof event.data.data8) {
    std::memset(event.data.data8, 0, sizeof event.data.data8);
    std::memcpy(event.data.data8, message.constData() + sent,
                std::min<qsizetype>(length - sent, sizeof event.data.data8));
    xcb_send_event(connection, false, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                   reinterpret_cast<const char*>(&event));
    event.type = continuation;
  }
  xcb_flush(connection);
}

}  // namespace evo
