// The errno and resolver mappings. Windows Sockets numbers its errors after
// the BSD errno values plus 10000; the table spells each pair out, since
// Linux numbers its errno values differently.
#include "platform/posix/WsaNumbers.h"

#include <netdb.h>

#include <cerrno>

#include "platform/Sockets.h"

namespace quillet::platform {
namespace {

struct ErrnoPair {
  int error;
  int wsa;
};

constexpr ErrnoPair kErrnoPairs[] = {
    {EINTR, 10004},        {EBADF, 10009},           {EACCES, 10013},
    {EPERM, 10013},        {EFAULT, 10014},          {EINVAL, 10022},
    {EMFILE, 10024},       {ENFILE, 10024},          {EWOULDBLOCK, 10035},
    {EINPROGRESS, 10036},  {EALREADY, 10037},        {ENOTSOCK, 10038},
    {EDESTADDRREQ, 10039}, {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},
    {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044},
    {EOPNOTSUPP, 10045},   {EPFNOSUPPORT, 10046},    {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},
    {ENETUNREACH, 10051},  {ENETRESET, 10052},       {ECONNABORTED, 10053},
    {ECONNRESET, 10054},   {EPIPE, 10054},           {ENOBUFS, 10055},
    {ENOMEM, 10055},       {EISCONN, 10056},         {ENOTCONN, 10057},
    {ESHUTDOWN, 10058},    {ETOOMANYREFS, 10059},    {ETIMEDOUT, 10060},
    {ECONNREFUSED, 10061}, {ELOOP, 10062},           {ENAMETOOLONG, 10063},
    {EHOSTDOWN, 10064},    {EHOSTUNREACH, 10065},    {ENOTEMPTY, 10066},
};

}  // namespace

int WsaErrorFromErrno(int error) {
  for (const ErrnoPair& pair : kErrnoPairs)
    if (pair.error == error) return pair.wsa;
  return error;
}

int WsaErrorFromResolver(int error) {
  switch (error) {
    case EAI_NONAME:
      return kWsaHostNotFound;
    case EAI_AGAIN:
      return kWsaTryAgain;
    case EAI_FAIL:
      return kWsaNoRecovery;
#ifdef EAI_NODATA
    case EAI_NODATA:
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
#endif
      return kWsaNoData;
    case EAI_MEMORY:
      return WsaErrorFromErrno(ENOMEM);
    case EAI_SYSTEM:
      return WsaErrorFromErrno(errno);
    default:
      return kWsaNoRecovery;
  }
}

}  // namespace quillet::platform
