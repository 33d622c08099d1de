# shellcheck shell=bash disable=SC2034,SC2154 # variables shared with tools/release
# Sourced by tools/release after tools/lib/sign.sh: the checks of a signed release folder
# (tools/release verify; README, "Signed releases"), each run and a failed one named.

# signed_by key-file signature file work: the fingerprint of the primary key, of those in the key
# file, that made a good signature of the file; nothing when none did. gpg reads the key file, every
# block of it (keys, revocations, signatures), into a keyring of its own; its messages and gpgv's,
# and why gpgv's status was refused, are left in work/gpgv.log. No keyring of the caller's is used.
signed_by() {
    local home="$4/gpgv-home"
    rm -rf "$home"
    mkdir -m 700 "$home"
    gpg --homedir "$home" --batch --no-autostart --import "$1" >"$4/gpgv.log" 2>&1 || true
    gpg --homedir "$home" --batch --no-autostart --export >"$home/keyring.gpg" 2>>"$4/gpgv.log" || true
    # gpgv's status, where its exit code is 0 for a revoked or expired key's signature too: a good
    # signature is a GOODSIG (the signing key's long ID) and the VALIDSIG of the same key (its
    # fingerprint, whose last field is the primary key's); any line of the refused ones, for any
    # signature in the file, refuses them all. An expired key's signature is refused, whenever
    # it was made: its date is the signer's word (README, "Signed releases").
    { gpgv --homedir "$home" --status-fd 3 --keyring "$home/keyring.gpg" "$2" "$3" 3>&1 >/dev/null 2>>"$4/gpgv.log" || true; } |
        awk -v messages="$4/gpgv.log" '
            $2 ~ /^(REVKEYSIG|KEYREVOKED|BADSIG|ERRSIG|EXPKEYSIG|EXPSIG)$/ { refused = refused " " $2 }
            $2 == "GOODSIG" { good[$3] = 1 }
            $2 == "VALIDSIG" && signer == "" && (substr($3, length($3) - 15) in good) { signer = $NF }
            END {
                if (refused != "") print "refused: the status of gpgv says" refused >>messages
                else if (signer != "") print signer
            }'
}

# verify_release dist key ca [stage]: the checks but the rebuild; non-zero when one failed. With "stage",
# dist is a signed staging folder, whose MANIFEST and parts/ check_stage has covered.
verify_release() {
    local dist=$1 key=$2 ca=$3 in_stage=${4:-} failures_before=$milka_failures work odd
    new_temp_dir work
    local ignored=(! -path ./MANIFEST ! -path './parts' ! -path './parts/*')
    [ -n "$in_stage" ] || ignored=()

    step "what the folder holds"
    # Links (signatures/ among them), FIFOs and the like, and every folder but signatures/ and
    # those in it.
    odd=$(entries_that_are_not_files "$dist"
        cd "$dist" && find . -mindepth 1 "${ignored[@]}" -type d ! -path ./signatures ! -path './signatures/*' \
            -printf '%P (a folder)\n')
    while IFS= read -r entry; do
        [ -z "$entry" ] || fail "$entry is not a regular file of the release"
    done <<<"$odd"

    step "SHA256SUMS.asc, with the release key $key"
    local signer
    if [ ! -f "$dist/SHA256SUMS" ] || [ ! -f "$dist/SHA256SUMS.asc" ]; then
        fail "SHA256SUMS or SHA256SUMS.asc is missing: the release is not signed"
    else
        signer=$(signed_by "$key" "$dist/SHA256SUMS.asc" "$dist/SHA256SUMS" "$work")
        if [ -n "$signer" ]; then
            echo "good signature; release key fingerprint: $signer"
        else
            sed 's/^/    /' "$work/gpgv.log" >&2
            fail "SHA256SUMS.asc is not a good signature of SHA256SUMS by the key in $key"
        fi
    fi

    step "SHA256SUMS against every file"
    local line name
    if [ -f "$dist/SHA256SUMS" ] && [ ! -L "$dist/SHA256SUMS" ]; then
        while IFS= read -r line; do fail "$line"; done < <(sums_problems "$dist" SHA256SUMS "${ignored[@]}" \
            ! -path ./SHA256SUMS ! -path ./SHA256SUMS.asc <"$dist/SHA256SUMS")
        echo "$(grep -c . "$dist/SHA256SUMS") files listed"
    fi
    for name in "$windows_zip_name.zip" "$setup_name"; do
        [ -f "$dist/$name" ] || fail "$name is not in the release (is this checkout at the release's commit?)"
    done

    step "Authenticode signatures of every program and DLL in the zip, and of the setup"
    local trusted=${ca:-$dist/signatures/certificates.pem} folder="$work/zip/$windows_zip_name" programs program
    if [ -L "$trusted" ] || [ ! -f "$trusted" ]; then
        fail "no certificates to check Authenticode signatures against ($trusted)"
        return 1
    fi
    if [ -f "$dist/$windows_zip_name.zip" ]; then
        unzip -qo "$dist/$windows_zip_name.zip" -d "$work/zip" >"$work/unzip.log" 2>&1 ||
            fail "$windows_zip_name.zip does not unpack: $(tail -1 "$work/unzip.log")"
        if [ -f "$folder/milka.exe" ]; then
            programs=$(windows_programs "$folder")
            while IFS= read -r -u 3 program; do
                authenticode "$windows_zip_name.zip: $program" "$folder/$program" "$trusted" "$work"
            done 3<<<"$programs"
        else
            fail "$windows_zip_name.zip: no $windows_zip_name/milka.exe inside"
        fi
    fi
    [ ! -f "$dist/$setup_name" ] || authenticode "$setup_name" "$dist/$setup_name" "$trusted" "$work"
    [ "$milka_failures" = "$failures_before" ]
}

# authenticode label file trusted work: osslsigncode verify against the trusted certificates.
authenticode() {
    local log="$4/verify.log" stamp
    if osslsigncode verify -CAfile "$3" -TSA-CAfile "$3" -in "$2" >"$log" 2>&1; then
        # osslsigncode 2.9 says "Timestamp time: ...", 2.5 "The signature is timestamped: ...".
        stamp=$(sed -nE '/^([[:space:]]*Timestamp time|The signature is timestamped):/{s/^[^:]*:[[:space:]]*//p;q}' "$log")
        echo "$1: $(grep -m1 'Subject:' "$log" | sed 's/^[[:space:]]*//'), signature verified${stamp:+, time-stamped $stamp}"
    else
        grep -v '^[[:space:]]*$' "$log" | tail -4 | sed 's/^/    /' >&2
        fail "$1: its Authenticode signature does not verify against $3"
    fi
}

# verify_rebuild dist unsigned-stage: the release's signatures attached to the stage's unsigned
# Windows folder and setup, compared with the release byte for byte.
verify_rebuild() {
    local dist=$1 unsigned=$2 work first="" name
    new_temp_dir work
    step "attaching the release's signatures to the unsigned rebuild ($unsigned)"
    if [ -L "$dist/signatures" ] || [ ! -d "$dist/signatures" ]; then
        fail "the release has no signatures/ folder to attach"
        return
    fi
    stage_epoch "$unsigned"
    windows_packages_signed attach "$unsigned" "$work" "$dist/signatures"

    step "comparing the rebuild with the release, byte for byte"
    compare() { # label rebuilt released
        if cmp -s "$2" "$3"; then
            echo "same: $1 ($(stat -c %s "$2") bytes)"
        else
            local where=""
            [ "${1%.zip}" = "$1" ] || where=", first inside at $(first_zip_difference "$2" "$3")"
            fail "$1 differs between the rebuild and the release$where"
            [ -n "$first" ] || first=$1
        fi
    }
    unzip -p "$dist/$windows_zip_name.zip" "$windows_zip_name/milka.exe" >"$work/released-milka.exe" 2>/dev/null || true
    compare milka.exe "$work/$windows_zip_name/milka.exe" "$work/released-milka.exe"
    compare "$windows_zip_name.zip" "$work/$windows_zip_name.zip" "$dist/$windows_zip_name.zip"
    compare "$setup_name" "$work/$setup_name" "$dist/$setup_name"
    compare "$deb_name" "$unsigned/$deb_name" "$dist/$deb_name"
    [ -z "$first" ] || echo "$milka_script: the first file that differs: $first" >&2
}

# first_zip_difference a.zip b.zip: the first file inside that differs, as diffoscope finds it, or a note.
first_zip_difference() {
    local first
    first=$(diffoscope --text - --exclude-directory-metadata=yes "$1" "$2" 2>/dev/null |
        sed -n '/^├── zipinfo/d; s/^├── //p' | head -1) || true
    echo "${first:-(no file inside: the fields of the zip or its list of files)}"
}
