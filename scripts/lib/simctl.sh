# Sourced by the scripts that drive knitsim. simctl REQUEST sends one request line to its
# control port ($control, on loopback) and prints the answer through its closing "ok" or
# "error ..." line; non-zero when the port does not answer.
simctl() {
  local fd status
  exec {fd}<>"/dev/tcp/127.0.0.1/$control" || return 1
  printf '%s\n' "$1" >&"$fd"
  # Interactive, mawk takes what the socket holds instead of waiting for a whole block (older
  # knitsims keep the connection open after the answer); the lines leave through cat, buffered:
  # a journal with a 1 MiB transfer in it runs to megabytes.
  timeout 120 mawk -W interactive '{ print | "cat" } /^ok$/ || /^error/ { exit }' <&"$fd"
  status=$?
  exec {fd}<&-
  return $status
}
