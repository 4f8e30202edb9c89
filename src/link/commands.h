#pragma once

// The command wrappers every screen calls. Each sends one datagram to the controller's
// command port and, except setParameterNoReply, blocks until its reply or time-out.
// Results: 1 when the controller answered in time, else 0.

unsigned char setParameter(unsigned char cmd, unsigned char object, unsigned short value1, unsigned short value2);
// The same, for actions the controller needs long for (bed calibration): 20 s.
unsigned char setParameterLongWait(unsigned char cmd, unsigned char object, unsigned short value1, unsigned short value2);
// Sends once and returns at once; nobody learns whether it arrived.
void setParameterNoReply(unsigned char cmd, unsigned char object, unsigned short value1, unsigned short value2);
// Sends *out as value 2; on a reply *out becomes the reply's result, else stays as it was.
unsigned char getParameter(unsigned char cmd, unsigned char object, unsigned short value1, unsigned short *out);
// 0 when the carriage stands; the status in the upper 16 bits while it runs; kNoMotoStatus when
// the controller did not answer (taken as running by every caller). A reply never reads as
// kNoMotoStatus: its status lies in the upper half.
unsigned int queryCarriageStatus();
constexpr unsigned int kNoMotoStatus = 0xFFFF;
// queryCarriageStatus's datagram, and the status its reply carries, for the query that waits in the
// event loop instead (StatusProbe).
void buildStatusRequest(unsigned char *buffer);
unsigned int parseStatusReply(const unsigned char *reply);
// The reply time-out of queryCarriageStatus (and getParameter), before KNIT_TIMEOUT_SCALE.
constexpr int kMotoStatusTimeoutMs = 1500;
unsigned char sendRowCommand(unsigned short arg1, unsigned short arg2, unsigned char arg3);

unsigned short bytesToWord(unsigned char hi, unsigned char lo);
unsigned int bytesToInt32(unsigned char a, unsigned char b, unsigned char c, unsigned char d);
