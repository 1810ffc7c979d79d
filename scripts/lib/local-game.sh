# Shared by scripts/play and bench/client/run-client-bench: builds for a game service on this
# machine and starts one unless it already answers. Source it from the repository's root.
# Sets: port, url, certs, build_dir, service_pid (empty when a service was already running).

port=8443
url="https://localhost:$port/api"
build_dir=build/play
state_dir=.local

# build_local TARGET...: installs what is missing, makes the certificates, builds the targets
# with the client pointed at the local service.
build_local() {
    scripts/install-deps
    certs=$(scripts/dev-certs)
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKARVEL_API_URL="$url" -DKARVEL_CA_FILE="$certs/ca.pem" >/dev/null
    cmake --build "$build_dir" --target "$@" -j "$(nproc)"
}

service_answers() {
    curl --silent --fail --max-time 2 --cacert "$certs/ca.pem" "$url/status" >/dev/null
}

service_pid=
stop_local_service() {
    if [ -n "$service_pid" ]; then
        kill "$service_pid" 2>/dev/null || true
        wait "$service_pid" 2>/dev/null || true
    fi
}

# Starts karvel-service in the background (database and log in .local/) unless one answers; it
# is stopped when the calling script exits.
start_local_service() {
    service_answers && return 0
    mkdir -p "$state_dir"
    "$build_dir/service/server/karvel-service" --bind 127.0.0.1 --port "$port" \
        --db "$state_dir/games.db" --tls-cert "$certs/server.pem" --tls-key "$certs/server-key.pem" \
        >>"$state_dir/karvel-service.log" 2>&1 &
    service_pid=$!
    trap stop_local_service EXIT
    for _ in $(seq 100); do
        service_answers && return 0
        if ! kill -0 "$service_pid" 2>/dev/null; then
            echo "karvel-service did not start; see $state_dir/karvel-service.log" >&2
            exit 1
        fi
        sleep 0.1
    done
    echo "karvel-service does not answer on $url" >&2
    exit 1
}
