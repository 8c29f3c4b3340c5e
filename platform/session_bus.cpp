#include "platform/session_bus.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace tf::platform {
namespace {

// The socket of the first unix: entry of a D-Bus address ("path=" or
// "abstract="); false when there is none.
bool SocketOf(std::string_view address, sockaddr_un& where, socklen_t& length) {
  while (!address.empty()) {
    const size_t semicolon = address.find(';');
    const std::string_view entry = address.substr(0, semicolon);
    address = semicolon == std::string_view::npos ? std::string_view() : address.substr(semicolon + 1);
    if (!entry.starts_with("unix:")) continue;
    for (std::string_view rest = entry.substr(5); !rest.empty();) {
      const size_t comma = rest.find(',');
      const std::string_view pair = rest.substr(0, comma);
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
      const bool abstract = pair.starts_with("abstract=");
      if (!pair.starts_with("path=") && !abstract) continue;
      const std::string_view value = pair.substr(pair.find('=') + 1);
      // D-Bus escapes bytes as %XX in addresses.
      std::string path;
      for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size()) {
          path += static_cast<char>(std::strtol(std::string(value.substr(i + 1, 2)).c_str(), nullptr, 16));
          i += 2;
        } else {
          path += value[i];
        }
      }
      std::memset(&where, 0, sizeof where);
      where.sun_family = AF_UNIX;
      const size_t offset = abstract ? 1 : 0;
      if (path.size() + offset >= sizeof where.sun_path) return false;
      std::memcpy(where.sun_path + offset, path.data(), path.size());
      length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
      return true;
    }
  }
  return false;
}

}  // namespace

bool SessionBusAnswers(int milliseconds) {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address == nullptr || *address == '\0') return true;  // nothing to wait on
  sockaddr_un where{};
  socklen_t length = 0;
  if (!SocketOf(address, where, length)) return true;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  const auto wait = [&](short events) {
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd p{fd, events, 0};
      const int n = ::poll(&p, 1, static_cast<int>(left.count()));
      if (n > 0) return (p.revents & (events | POLLHUP | POLLERR)) != 0;
      if (n < 0 && errno != EINTR) return false;
    }
  };
  bool answers = false;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&where), length) == 0 || (errno == EINPROGRESS && wait(POLLOUT))) {
    // The handshake's first words: a NUL, then an authentication request
    // with the external credentials the kernel passes; any bus answers
    // with OK or REJECTED.
    char request[64];
    const int n = std::snprintf(request, sizeof request, "%cAUTH EXTERNAL ", '\0');
    std::string line(request, static_cast<size_t>(n));
    for (const char c : std::to_string(::getuid())) {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(c));
      line += hex;
    }
    line += "\r\n";
    if (::send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size()) && wait(POLLIN)) {
      char reply[16];
      answers = ::recv(fd, reply, sizeof reply, 0) > 0;
    }
  } else {
    answers = true;  // no bus there: Qt finds that out at once as well
  }
  ::close(fd);
  return answers;
}

void ForgetSessionBus() {
  // An address no D-Bus library can use: every attempt fails at once.
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
}

}  // namespace tf::platform
