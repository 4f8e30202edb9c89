// Preloaded into the demo's panel so that every socket it binds to "any address" (the VNC
// screen among them) is bound to loopback instead: the demo is reachable from this machine only.
#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>

extern "C" int bind(int fd, const struct sockaddr *addr, socklen_t len)
{
    using BindFn = int (*)(int, const struct sockaddr *, socklen_t);
    static BindFn real = reinterpret_cast<BindFn>(dlsym(RTLD_NEXT, "bind"));
    if (addr && addr->sa_family == AF_INET && len >= sizeof(sockaddr_in)) {
        sockaddr_in a;
        std::memcpy(&a, addr, sizeof a);
        if (a.sin_addr.s_addr == htonl(INADDR_ANY)) {
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            return real(fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
        }
    } else if (addr && addr->sa_family == AF_INET6 && len >= sizeof(sockaddr_in6)) {
        sockaddr_in6 a;
        std::memcpy(&a, addr, sizeof a);
        if (std::memcmp(&a.sin6_addr, &in6addr_any, sizeof a.sin6_addr) == 0) {
            int v6only = 0;
            socklen_t l = sizeof v6only;
            getsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &v6only, &l);
            if (v6only) {
                a.sin6_addr = in6addr_loopback;
            } else {
                // v4-mapped 127.0.0.1: a dual-stack socket then answers IPv4 loopback only.
                std::memset(&a.sin6_addr, 0, sizeof a.sin6_addr);
                a.sin6_addr.s6_addr[10] = 0xff;
                a.sin6_addr.s6_addr[11] = 0xff;
                a.sin6_addr.s6_addr[12] = 127;
                a.sin6_addr.s6_addr[15] = 1;
            }
            return real(fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
        }
    }
    return real(fd, addr, len);
}
