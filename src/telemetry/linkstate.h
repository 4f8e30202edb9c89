#pragma once

// The state of the link to the telemetry broker, as the clock label marks it.
enum class LinkState {
    Off,        // no telemetry configured
    Connecting, // connecting, or waiting to try again
    Online,     // connected and accepted
    Refused,    // the broker refused the login or the TLS handshake failed; tried again later
};
