/* Sends the controller's row reports to the panel's status port at a steady rate, as
 * bench/speed.sh's flood: RATE reports a second for SECONDS seconds, paced per millisecond.
 * Usage: reportsender PORT RATE SECONDS. Loopback only. */
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: reportsender PORT RATE SECONDS\n");
        return 2;
    }
    const int port = atoi(argv[1]), rate = atoi(argv[2]), seconds = atoi(argv[3]);
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    struct sockaddr_in to = {0};
    to.sin_family = AF_INET;
    to.sin_port = htons((unsigned short)port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    struct timespec next;
    clock_gettime(CLOCK_MONOTONIC, &next);
    long sent = 0;
    const long total = (long)rate * seconds;
    for (long ms = 0; sent < total; ++ms) {
        /* Row reports (code 20): pieces done in word A, the row in word B. The piece count
         * stays, so the production record is not what is measured. */
        for (long due = (ms + 1) * rate / 1000; sent < due && sent < total; ++sent) {
            const unsigned a = 1, b = (unsigned)(3 + sent % 7000);
            const unsigned char r[12] = {0, 0, 0, 0, 0, 20, a & 0xff, a >> 8, b & 0xff, b >> 8, 0, 0};
            sendto(s, r, sizeof r, 0, (const struct sockaddr *)&to, sizeof to);
        }
        next.tv_nsec += 1000000;
        if (next.tv_nsec >= 1000000000) {
            next.tv_nsec -= 1000000000;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, NULL);
    }
    close(s);
    return 0;
}
