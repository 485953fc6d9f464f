/* Preloaded by the command line's table: a name server that takes SG_LOOKUP_DELAY_MS to
   answer for names under slow.invalid, as a far or failing one does. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <netdb.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

int getaddrinfo(const char *node, const char *service, const struct addrinfo *hints,
                struct addrinfo **res)
{
    int (*real)(const char *, const char *, const struct addrinfo *, struct addrinfo **) =
        (int (*)(const char *, const char *, const struct addrinfo *, struct addrinfo **))dlsym(
            RTLD_NEXT, "getaddrinfo");
    const char *tail = node ? strstr(node, "slow.invalid") : NULL;
    if (tail && tail[strlen("slow.invalid")] == '\0') {
        const char *delay = getenv("SG_LOOKUP_DELAY_MS");
        const long ms = delay ? atol(delay) : 3000;
        const struct timespec wait = {ms / 1000, ms % 1000 * 1000000L};
        nanosleep(&wait, NULL);
    }
    return real(node, service, hints, res);
}
