// Writing requests.
#include "net/HttpRequest.h"

namespace quillet {
namespace {

void AppendHeader(std::string& request, std::string_view name, std::string_view value) {
  if (value.empty()) return;
  request.append(name);
  request += ": ";
  request.append(value);
  request += "\r\n";
}

}  // namespace

std::string BuildRequest(std::string_view target, std::string_view host, std::string_view cookie) {
  std::string request = "GET ";
  request.append(target);
  request += " HTTP/1.1\r\n";
  AppendHeader(request, "Content-Type", kRequestContentType);
  AppendHeader(request, "Host", host);
  AppendHeader(request, "Accept", kRequestAccept);
  AppendHeader(request, "User-Agent", kRequestUserAgent);
  AppendHeader(request, "Cookie", cookie);
  request += "\r\n";
  return request;
}

}  // namespace quillet
