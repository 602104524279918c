#!/bin/bash
# Runs a command with a private CUPS scheduler and its cups-pdf queue (see private_cupsd.sh), then stops
# the scheduler. The command sees CUPS_SERVER, PRIVATE_CUPS_QUEUE and PRIVATE_CUPS_OUT; its exit status is
# returned, and a scheduler that cannot be started fails the run.
#   with_private_cupsd.sh COMMAND [ARGS...]
here=$(dirname "$(realpath "$0")")
source "$here/private_cupsd.sh"
start_private_cupsd || exit 1
trap stop_private_cupsd EXIT
"$@"
