#pragma once

#include <QString>

#include <mosquitto.h>

// The libmosquitto calls of the MQTT client, opened on first use: a panel without telemetry.ini
// never loads libmosquitto nor the TLS libraries it pulls in, and starts that much quicker.
// (member, symbol) of every call the client makes.
#define KNIT_MOSQUITTO_CALLS(X)                                                                    \
    X(libInit, mosquitto_lib_init)                                                                 \
    X(strerror, mosquitto_strerror)                                                                \
    X(connackString, mosquitto_connack_string)                                                     \
    X(create, mosquitto_new)                                                                       \
    X(destroy, mosquitto_destroy)                                                                  \
    X(connectCallbackSet, mosquitto_connect_callback_set)                                          \
    X(disconnectCallbackSet, mosquitto_disconnect_callback_set)                                    \
    X(publishCallbackSet, mosquitto_publish_callback_set)                                          \
    X(subscribeCallbackSet, mosquitto_subscribe_callback_set)                                      \
    X(messageCallbackSet, mosquitto_message_callback_set)                                          \
    X(intOption, mosquitto_int_option)                                                             \
    X(usernamePwSet, mosquitto_username_pw_set)                                                    \
    X(willSet, mosquitto_will_set)                                                                 \
    X(tlsSet, mosquitto_tls_set)                                                                   \
    X(connectAsync, mosquitto_connect_async)                                                       \
    X(reconnectAsync, mosquitto_reconnect_async)                                                   \
    X(loopRead, mosquitto_loop_read)                                                               \
    X(loopWrite, mosquitto_loop_write)                                                             \
    X(loopMisc, mosquitto_loop_misc)                                                               \
    X(wantWrite, mosquitto_want_write)                                                             \
    X(socket, mosquitto_socket)                                                                    \
    X(disconnect, mosquitto_disconnect)                                                            \
    X(publish, mosquitto_publish)                                                                  \
    X(subscribeMultiple, mosquitto_subscribe_multiple)

struct MosquittoLibrary
{
    // The library, opened, resolved and initialised once per process; null, with *why saying
    // what is missing, when it cannot be loaded.
    static const MosquittoLibrary *get(QString *why);

#define KNIT_MOSQUITTO_MEMBER(member, symbol) decltype(&::symbol) member = nullptr;
    KNIT_MOSQUITTO_CALLS(KNIT_MOSQUITTO_MEMBER)
#undef KNIT_MOSQUITTO_MEMBER
};
