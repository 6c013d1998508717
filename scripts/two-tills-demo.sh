#!/usr/bin/env bash
# Two tills and an office on this machine, joined by Syncthing.
# Usage: two-tills-demo.sh DIR
#
# Lays out DIR/till1, DIR/till2 and DIR/office, starts one Syncthing for each
# (homes DIR/sync-*, GUI and REST interface on 127.0.0.1 only), pairs them,
# rings up sales on both tills and closes their days with zorvi-script, waits
# until the office has both days, merges them with zorvi-collect and checks
# that the office's day is the sum of the two tills' closes.
#
# Nothing reaches beyond this machine: every Syncthing listens on 127.0.0.1
# only and knows the others as tcp://127.0.0.1:PORT; global and local
# discovery, relays, NAT traversal, usage and crash reporting and automatic
# upgrades are off before it first starts.
#
# It installs nothing: it needs syncthing (scripts/setup.sh installs it) and
# the built zorvi-script and zorvi-collect, found in $ZORVI_BIN, on the PATH
# or in build/. Exit status 0 only when the office's takings equal the tills'
# to the cent.
set -euo pipefail

if [ $# -ne 1 ] || [ "${1:0:1}" = "-" ]; then
    echo "Usage: $0 DIR" >&2
    exit 2
fi
src="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$1"
dir="$(cd "$1" && pwd)"

tool() {
    local name="$1"
    for candidate in ${ZORVI_BIN:+"$ZORVI_BIN/$name"} "$(command -v "$name" || true)" \
        "$src/build/$name"; do
        if [ -n "$candidate" ] && [ -x "$candidate" ]; then
            echo "$candidate"
            return
        fi
    done
    echo "$name not found: build Zorvi first, or set ZORVI_BIN" >&2
    exit 2
}
command -v syncthing >/dev/null || { echo "syncthing is not installed (scripts/setup.sh)" >&2; exit 2; }
script_tool="$(tool zorvi-script)"
collect_tool="$(tool zorvi-collect)"

# ---------------------------------------------------------------- the shops

for shop in till1 till2 office; do
    if [ -e "$dir/$shop" ]; then
        echo "$dir/$shop exists already: give the demo a new folder" >&2
        exit 2
    fi
    mkdir -p "$dir/$shop"
    install -m 644 "$src"/data/demo/Configur.dat "$dir/$shop/"
done
for n in 1 2; do
    till="$dir/till$n"
    install -m 644 "$src"/data/demo/Pricelist.dat "$src"/data/demo/Inventory.dat \
        "$src"/data/help/hlpf.* "$till/"
    printf 'till=%d\r\n' "$n" >"$till/Options.dat"
    mkdir -p "$till/Outbox" "$till/Inbox" "$till/Prices"
done
mkdir -p "$dir/office/Tills/T01" "$dir/office/Tills/T02" "$dir/office/Acks/T01" \
    "$dir/office/Acks/T02" "$dir/office/Prices"

# ---------------------------------------------------------------- Syncthing

pids=()
stop_syncthing() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    pids=()
}
trap stop_syncthing EXIT

port_taken() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
# Sets the variable named $1 to a port nothing listens on and this run has
# not given out yet.
used_ports=" "
free_port() {
    local candidate
    for _ in $(seq 1 200); do
        candidate=$((20000 + RANDOM % 40000))
        if ! port_taken "$candidate" && [[ $used_ports != *" $candidate "* ]]; then
            used_ports+="$candidate "
            printf -v "$1" '%s' "$candidate"
            return
        fi
    done
    echo "no free port found" >&2
    exit 2
}

declare -A home listen gui id
export STNODEFAULTFOLDER=1 STNOUPGRADE=1
for peer in till1 till2 office; do
    home[$peer]="$dir/sync-$peer"
    free_port port
    listen[$peer]="$port"
    free_port port
    gui[$peer]="$port"
    syncthing generate --home="${home[$peer]}" --no-default-folder --skip-port-probing \
        >"${home[$peer]}.log" 2>&1
    # Set before the first start, so that it never reaches out, not even once.
    sed -i \
        -e "s#<listenAddress>default</listenAddress>#<listenAddress>tcp://127.0.0.1:${listen[$peer]}</listenAddress>#" \
        -e "s#<address>127.0.0.1:8384</address>#<address>127.0.0.1:${gui[$peer]}</address>#" \
        -e 's#<globalAnnounceEnabled>true<#<globalAnnounceEnabled>false<#' \
        -e 's#<localAnnounceEnabled>true<#<localAnnounceEnabled>false<#' \
        -e 's#<relaysEnabled>true<#<relaysEnabled>false<#' \
        -e 's#<natEnabled>true<#<natEnabled>false<#' \
        -e 's#<urAccepted>0<#<urAccepted>-1<#' \
        -e 's#<crashReportingEnabled>true<#<crashReportingEnabled>false<#' \
        -e 's#<autoUpgradeIntervalH>12<#<autoUpgradeIntervalH>0<#' \
        -e 's#<stunKeepaliveStartS>180<#<stunKeepaliveStartS>0<#' \
        -e 's#<startBrowser>true<#<startBrowser>false<#' \
        "${home[$peer]}/config.xml"
    for setting in "<listenAddress>tcp://127.0.0.1:" "<address>127.0.0.1:${gui[$peer]}<" \
        "<globalAnnounceEnabled>false<" "<localAnnounceEnabled>false<" "<relaysEnabled>false<" \
        "<natEnabled>false<" "<urAccepted>-1<" "<crashReportingEnabled>false<" \
        "<autoUpgradeIntervalH>0<"; do
        if ! grep -qF "$setting" "${home[$peer]}/config.xml"; then
            echo "Syncthing's configuration has no $setting; stopped before it started" >&2
            exit 2
        fi
    done
    id[$peer]="$(syncthing serve --home="${home[$peer]}" --device-id)"
    syncthing serve --home="${home[$peer]}" --no-browser --no-restart --no-upgrade \
        --gui-address="http://127.0.0.1:${gui[$peer]}" >>"${home[$peer]}.log" 2>&1 &
    pids+=($!)
done

st() {
    local peer="$1"
    shift
    # The GUI address and API key come from the home's configuration.
    syncthing cli --home="${home[$peer]}" "$@"
}
for peer in till1 till2 office; do
    for _ in $(seq 1 300); do
        st "$peer" show system >/dev/null 2>&1 && break
        sleep 0.1
    done
    st "$peer" show system >/dev/null || { echo "Syncthing of $peer did not start" >&2; exit 1; }
done

# The device with its address as JSON: this Syncthing's `devices add
# --addresses` cannot take a list.
pair() {
    st "$1" config devices add-json \
        "{\"deviceID\": \"${id[$2]}\", \"name\": \"$2\", \"addresses\": [\"tcp://127.0.0.1:${listen[$2]}\"]}"
}
# share PEER FOLDER-ID LABEL PATH TYPE OTHER-PEER
share() {
    st "$1" config folders add --id "$2" --label "$3" --path "$4" --type "$5" \
        --fswatcher-delays 1 --rescan-intervals 60
    st "$1" config folders "$2" devices add --device-id "${id[$6]}"
}
for n in 1 2; do
    till="till$n"
    t="T0$n"
    pair "$till" office
    pair office "$till"
    share "$till" "zorvi-outbox-t0$n" "Outbox of till $n" "$dir/$till/Outbox" sendonly office
    share office "zorvi-outbox-t0$n" "Outbox of till $n" "$dir/office/Tills/$t" receiveonly "$till"
    share office "zorvi-acks-t0$n" "Acks of till $n" "$dir/office/Acks/$t" sendonly "$till"
    share "$till" "zorvi-acks-t0$n" "Acks of till $n" "$dir/$till/Inbox" receiveonly office
    share "$till" zorvi-prices "Prices" "$dir/$till/Prices" receiveonly office
done
# The office's price list goes to both tills.
st office config folders add --id zorvi-prices --label "Prices" --path "$dir/office/Prices" \
    --type sendonly --fswatcher-delays 1 --rescan-intervals 60
for n in 1 2; do
    st office config folders zorvi-prices devices add --device-id "${id[till$n]}"
done

# ---------------------------------------------------------------- the days

cat >"$dir/till1.script" <<'EOF'
# Anna sells bread, milk and rolls; Ben sells coffee at the low discount.
sale A
item 5012345000176
item MILK1 2
item ROLL 6
pay C 20
sale B
item 7613034500014 1 L
pay T
close
EOF
cat >"$dir/till2.script" <<'EOF'
# Anna sells eggs and juice, takes back a cola can, and a second sale by cheque.
sale A
item 8712345600112
item 8712345600280 3
return 5410123000521
pay C 15
sale A
item 7613034500182 2
pay Q
close
EOF
declare -A total
for n in 1 2; do
    till="till$n"
    if ! "$script_tool" "$dir/$till" "$dir/$till.script" >"$dir/$till.out" 2>"$dir/$till.err"; then
        echo "zorvi-script on $till failed:" >&2
        cat "$dir/$till.err" >&2
        exit 1
    fi
    total[$n]="$(sed -n 's/^Till .*: day total //p' "$dir/$till.out" | tail -n 1)"
    echo "$(tail -n 1 "$dir/$till.out")"
done

# ---------------------------------------------------------------- the sync

day_of() { (cd "$dir/$1/Outbox" && ls -d -- *-T0"$2"-Z* | tail -n 1); }
synced() {
    local n="$1" day
    day="$(day_of "till$n" "$n")"
    [ -n "$day" ] && diff -r "$dir/till$n/Outbox/$day" "$dir/office/Tills/T0$n/$day" >/dev/null 2>&1
}
waited=0
until synced 1 && synced 2; do
    if [ "$waited" -ge 1200 ]; then
        echo "The office did not receive both days within 120 seconds." >&2
        exit 1
    fi
    sleep 0.1
    waited=$((waited + 1))
done

status=0
"$collect_tool" "$dir/office" >"$dir/collect.out" 2>"$dir/collect.err" || status=$?
cat "$dir/collect.err" >&2
# The office's day: the date's total in its Daybyday.dat, the "&" line that
# does not start with a blank (the tills' own lines do); takings are its third
# figure.
day_line="$({ grep '^&' "$dir/office/Daybyday.dat" || true; } | tail -n 1 | tr -d '\r')"
office="$(echo "${day_line#&}" | awk '{ print $3 }')"

stop_syncthing
trap - EXIT

cents() { awk -v x="$1" 'BEGIN { printf "%d", (x < 0 ? x * 100 - 0.5 : x * 100 + 0.5) }'; }
echo "office day: $day_line"
echo "tills: ${total[1]} + ${total[2]}"
echo "office: ${office:-none}"
if [ "$status" -ne 0 ] || [ -z "$office" ] || [ -z "${total[1]}" ] || [ -z "${total[2]}" ]; then
    exit 1
fi
[ "$(cents "$office")" -eq $(($(cents "${total[1]}") + $(cents "${total[2]}"))) ]
