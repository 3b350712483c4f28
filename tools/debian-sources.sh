# Shared by the scripts that build libraries from Debian's own source packages into a cache
# folder outside the clone. Sourced, not run:
#
#     . tools/debian-sources.sh
#     sources=("$(ds_source_of libfoo-dev)" ...)                # NAME=VERSION of each library
#     ds_cache_begin CACHE "$(ds_key ...)" || { echo "$ds_final"; exit 0; }   # already built
#     ds_fetch_sources "${sources[@]}"                          # into $ds_work/src
#     dir=$(ds_source_dir NAME)
#     ds_cmake=(cmake) ds_common=(...); ds_build NAME "$dir" -DOPTION=...    # into $ds_work/prefix
#     ds_keep_licences                                          # each source's debian/copyright
#     ds_cache_finish                                           # renames it to $ds_final
#
# A finished prefix is only ever made by renaming a complete build into place, so an interrupted
# run leaves nothing that looks finished. One build of a key runs at a time (a lock in CACHE);
# whoever waited on the lock may find the work done. The caller provides say and die.

# Runs a command with its output in logs/NAME.log; on failure shows the end of that log.
step() {
    local name=$1 log="$ds_work/logs/$1.log"
    shift
    if ! "$@" >>"$log" 2>&1; then
        say "$name failed: $*"
        say "the last lines of its log:"
        tail -n 60 "$log" >&2
        exit 1
    fi
}

# The source package and version a package of this machine's architecture was built from:
# NAME=VERSION.
ds_source_of() { dpkg-query -W -f='${source:Package}=${source:Version}' "$1:$(dpkg --print-architecture)"; }

# A cache key made of the words given, with every character a folder name should not have
# replaced.
ds_key() { printf '%s' "$*" | tr -c 'A-Za-z0-9.+_-' '-'; }

# Configures, builds and installs one CMake project into the prefix: ds_cmake is the configure
# command (cmake, or emcmake cmake), ds_common the options every library takes, then the
# library's own; jobs as many as there are cores.
ds_build() {
    local name=$1 src=$2
    shift 2
    local dir="$ds_work/build/$name" t=$SECONDS
    say "$name: configure"
    step "$name" "${ds_cmake[@]}" -S "$src" -B "$dir" "${ds_common[@]}" "$@"
    say "$name: build"
    step "$name" cmake --build "$dir" -j "$(nproc)"
    step "$name" cmake --install "$dir"
    say "$name: done in $((SECONDS - t)) s"
}

# The licence of each library fetched, as its Debian source package states it, into the prefix's
# share/licenses/NAME.copyright, for the notices of whatever carries the library.
ds_keep_licences() {
    local fetched
    mkdir -p "$ds_work/prefix/share/licenses"
    while IFS= read -r fetched; do
        cp "$(ds_source_dir "${fetched%%=*}")/debian/copyright" \
            "$ds_work/prefix/share/licenses/${fetched%%=*}.copyright"
    done <"$ds_work/src/versions"
}

# Sets ds_final (CACHE/KEY) and, unless that is already there, takes the key's lock, makes a fresh
# work folder ds_work with ds_work/prefix and ds_work/logs, and returns 0; returns 1 when the
# prefix is already built. The work folder is removed when the shell exits.
ds_cache_begin() {
    local cache=$1 key=$2
    mkdir -p "$cache"
    cache=$(cd "$cache" && pwd -P)
    ds_final="$cache/$key"
    [ ! -d "$ds_final" ] || return 1
    exec 9>"$cache/.$key.lock"
    flock 9
    [ ! -d "$ds_final" ] || return 1
    # With the lock held, any work folder of this key is left over from an interrupted run.
    rm -rf "$cache/$key.tmp."*
    ds_work=$(mktemp -d "$cache/$key.tmp.XXXXXX")
    trap 'rm -rf "$ds_work"' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    mkdir -p "$ds_work/prefix" "$ds_work/logs" "$ds_work/src" "$ds_work/build"
}

# Downloads and unpacks the given source packages (NAME=VERSION) into ds_work/src through a
# private apt source list. The machine's apt configuration stays as it is: deb-src entries for the
# archives it already uses go into a list of our own, with lists and caches of our own, for these
# commands only.
ds_fetch_sources() {
    ds_apt_dir="$ds_work/apt"
    mkdir -p "$ds_apt_dir/lists/partial" "$ds_apt_dir/cache/archives/partial"
    {
        # deb822 stanzas, one deb-src line for each URI and suite.
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            awk -v keydir="$ds_apt_dir" '
                function flush(   n, m, i, j, u, s, opts) {
                    if (types ~ /(^|[ \t])deb(-src)?([ \t]|$)/ && tolower(enabled) != "no") {
                        opts = ""
                        if (keytext != "") {
                            signed = keydir "/key" (++keys) ".asc"
                            printf "%s", keytext > signed
                            close(signed)
                        }
                        if (signed != "") opts = opts " signed-by=" signed
                        if (tolower(trusted) == "yes") opts = opts " trusted=yes"
                        if (opts != "") opts = "[" substr(opts, 2) "] "
                        n = split(uris, u, /[ \t]+/); m = split(suites, s, /[ \t]+/)
                        for (i = 1; i <= n; i++) for (j = 1; j <= m; j++)
                            if (u[i] != "" && s[j] != "")
                                print "deb-src " opts u[i] " " s[j] (comps != "" ? " " comps : "")
                    }
                    types = uris = suites = comps = signed = trusted = enabled = keytext = field = ""
                }
                /^#/ { next }
                /^[ \t]*$/ { flush(); next }
                /^[ \t]/ {   # a continuation line: only an inline Signed-By key has them here
                    if (field == "signed-by") {
                        line = $0; sub(/^[ \t]+/, "", line)
                        keytext = keytext (line == "." ? "" : line) "\n"
                    }
                    next
                }
                {
                    field = tolower($0); sub(/:.*/, "", field)
                    value = $0; sub(/^[^:]*:[ \t]*/, "", value); sub(/[ \t]+$/, "", value)
                    if (field == "types") types = value
                    else if (field == "uris") uris = value
                    else if (field == "suites") suites = value
                    else if (field == "components") comps = value
                    else if (field == "signed-by") signed = value
                    else if (field == "trusted") trusted = value
                    else if (field == "enabled") enabled = value
                }
                END { flush() }
            ' /etc/apt/sources.list.d/debian.sources
        fi
        # One-line entries: the same line as deb-src.
        if [ -f /etc/apt/sources.list ]; then
            sed -n -E 's/^[ \t]*deb(-src)?[ \t]+/deb-src /p' /etc/apt/sources.list
        fi
    } | sort -u >"$ds_apt_dir/sources.list"
    [ -s "$ds_apt_dir/sources.list" ] ||
        die "no Debian archive found in /etc/apt/sources.list.d/debian.sources or /etc/apt/sources.list"

    # Our own update should not set off the machine's after-update hooks.
    printf '#clear APT::Update::%s;\n' Pre-Invoke Post-Invoke Post-Invoke-Success \
        >"$ds_apt_dir/apt.conf"
    ds_apt_opts=(-c "$ds_apt_dir/apt.conf"
                 -o "Dir::Etc::SourceList=$ds_apt_dir/sources.list" -o Dir::Etc::SourceParts=-
                 -o "Dir::State::Lists=$ds_apt_dir/lists" -o "Dir::Cache=$ds_apt_dir/cache")
    # As root apt would hand downloads to its _apt user, who cannot reach a folder in root's home.
    [ "$(id -u)" -ne 0 ] || ds_apt_opts+=(-o APT::Sandbox::User=root)

    step sources apt-get "${ds_apt_opts[@]}" update </dev/null
    local want name got v
    for want in "$@"; do
        name=${want%%=*}
        got=""
        # The version asked for first; when the archive no longer serves its files (a security
        # update is listed before its files are there), the other versions the lists name.
        for v in "${want#*=}" $(apt-cache "${ds_apt_opts[@]}" showsrc "$name" 2>/dev/null |
                                 sed -n 's/^Version: //p' | sort -urV); do
            if (cd "$ds_work/src" && apt-get "${ds_apt_opts[@]}" source "$name=$v" \
                    >>"$ds_work/logs/sources.log" 2>&1 </dev/null); then
                got=$v
                break
            fi
            say "$name=$v: no source from the archive"
        done
        [ -n "$got" ] || die "no source package of $name could be downloaded (see $ds_work/logs/sources.log)"
        echo "$name=$got" >>"$ds_work/src/versions"
    done
}

# The NAME=VERSION actually fetched for a source package NAME.
ds_fetched() { grep -m1 "^$1=" "$ds_work/src/versions"; }

# The folder apt-get source unpacked NAME=EPOCH:UPSTREAM-REVISION into: NAME-UPSTREAM.
ds_source_dir() {
    local fetched version dir
    fetched=$(ds_fetched "${1%%=*}") || die "${1%%=*} was not fetched"
    version=${fetched#*=}
    version=${version#*:}
    version=${version%-*}
    dir="$ds_work/src/${1%%=*}-$version"
    [ -d "$dir" ] || die "apt-get source left no $dir"
    echo "$dir"
}

# Makes every file in the prefix that names the work folder's prefix name the final one instead,
# checks that nothing names the work folder any more, and renames the prefix into place.
ds_cache_finish() {
    local prefix="$ds_work/prefix" pattern leftover
    pattern=$(printf '%s' "$prefix" | sed 's/[][\\.*^$|]/\\&/g')
    grep -rlI --null -F "$prefix" "$prefix" | xargs -0 -r sed -i "s|$pattern|$ds_final|g"
    if leftover=$(grep -rl -F "$ds_work" "$prefix"); then
        die "still naming the temporary folder: $leftover"
    fi
    mv -T "$prefix" "$ds_final"
}
