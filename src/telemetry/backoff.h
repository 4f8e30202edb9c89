#pragma once

// The wait before the next connection attempt: 1 s, doubling after each failure, at most 60 s;
// back to 1 s once a connection has been accepted.
class Backoff
{
public:
    static constexpr int kFirstMs = 1000;
    static constexpr int kMaxMs = 60000;

    // The wait before the next attempt; each call doubles the one after.
    int next();
    void reset();

private:
    int nextMs_ = kFirstMs;
};
