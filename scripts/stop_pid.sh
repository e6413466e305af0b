# Sourced by the scripts that start processes. stop_pid <pid>: stops a process of ours by its
# id, TERM first, KILL after a bounded wait, and reaps it.
stop_pid() {
    local pid=$1
    kill -TERM "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}
