# shellcheck shell=bash disable=SC2034,SC2154 # variables shared with tools/release
# Sourced by tools/release after tools/lib/release.sh: Authenticode signatures (SHA-256,
# osslsigncode) on milka.exe, on the setup's uninstaller as makensis writes it and on the setup,
# and the GPG signature of SHA256SUMS. Each Authenticode signature is also kept on its own (PKCS#7,
# PEM) in signatures/, with the certificates to check it against (certificates.pem): attached to
# the unsigned file it gives the signed file byte for byte, which is checked as it is made and
# is what tools/release verify --rebuild does.

description="ミルカ！！！（地方版）"

# The signer's settings: options of tools/release sign, else the MILKA_SIGN_* variables.
sign_pkcs12=${MILKA_SIGN_PKCS12:-}
sign_password_file=${MILKA_SIGN_PASSWORD_FILE:-}
sign_gpg_key=${MILKA_SIGN_GPG_KEY:-}
sign_ca=${MILKA_SIGN_CA:-}
sign_timestamp=${MILKA_SIGN_TIMESTAMP:-}
# sign_option option value: 0 when it was one of the signer's options (taken), else 1.
sign_option() {
    case "$1" in
        --pkcs12) sign_pkcs12=$(absolute_path "$2") ;;
        --password-file) sign_password_file=$(absolute_path "$2") ;;
        --gpg-key) sign_gpg_key=$2 ;;
        --ca) sign_ca=$(absolute_path "$2") ;;
        --timestamp) sign_timestamp=$2 ;;
        *) return 1 ;;
    esac
}

# The certificates of the PKCS#12 file, PEM (the private key left out); with -clcerts only its own.
pkcs12_certificates() {
    {
        openssl pkcs12 -in "$sign_pkcs12" -passin "file:$sign_password_file" -nokeys "$@" 2>/dev/null ||
            openssl pkcs12 -legacy -in "$sign_pkcs12" -passin "file:$sign_password_file" -nokeys "$@"
    } | sed -n '/^-----BEGIN CERTIFICATE-----$/,/^-----END CERTIFICATE-----$/p'
}

# check_signing_settings: the certificate, its password, its chain and the GPG key all work.
check_signing_settings() {
    require_tools osslsigncode openssl gpg
    local name path work
    for name in pkcs12 password_file; do
        path=sign_$name
        [ -n "${!path}" ] || die "no --${name//_/-} (or MILKA_SIGN_${name^^}) given (see tools/release --help)"
        [ -f "${!path}" ] || die "--${name//_/-}: no file ${!path}"
        [ -r "${!path}" ] || die "--${name//_/-}: no readable file ${!path}"
        # Inside the checkout a key could be committed by mistake.
        case "$(realpath -m "${!path}")/" in
            "$milka_root"/*) die "--${name//_/-} ${!path} is inside the checkout; keep keys and passwords outside it" ;;
        esac
    done
    [ -z "$sign_ca" ] || [ -f "$sign_ca" ] || die "--ca: no file $sign_ca"
    new_temp_dir work
    pkcs12_certificates -clcerts >"$work/leaf.pem"
    [ -s "$work/leaf.pem" ] || die "no certificate in $sign_pkcs12 that its password ($sign_password_file) opens"
    signing_certificates >"$work/chain.pem"
    # A CA's certificate must lead to the root given with --ca; a self-signed one is its own.
    openssl verify -purpose any -CAfile "$work/chain.pem" "$work/leaf.pem" >"$work/log" 2>&1 ||
        die "the certificate in $sign_pkcs12 does not lead to a trusted root$([ -n "$sign_ca" ] ||
            echo " (a CA's certificate needs its root: --ca ROOT.pem)"): $(tail -2 "$work/log" | tr '\n' ' ')"
    [ -n "$sign_gpg_key" ] || die "no --gpg-key (or MILKA_SIGN_GPG_KEY) given (see tools/release --help)"
    gpg --list-secret-keys "$sign_gpg_key" >/dev/null 2>&1 ||
        die "no secret GPG key \"$sign_gpg_key\" in ${GNUPGHOME:-~/.gnupg}"
}
# What a signature is checked against, and what the release publishes as certificates.pem: the
# PKCS#12 file's certificates and the roots given with --ca.
signing_certificates() {
    pkcs12_certificates
    [ -z "$sign_ca" ] || cat "$sign_ca"
}

# program_signature sign|attach name file signatures: signs the file (called name in the release)
# in place, keeping its signature alone as signatures/name.sig, having checked that attaching it
# to the unsigned file gives the signed one; or attaches signatures/name.sig. An attached
# signature that does not fit leaves the file unsigned, with a warning: the comparison that
# follows names the file.
program_signature() {
    local mode=$1 name=$2 file=$3 signatures=$4 work
    local certs="$signatures/certificates.pem"
    new_temp_dir work
    if [ "$mode" = attach ]; then
        if osslsigncode attach-signature -sigin "$signatures/$name.sig" -CAfile "$certs" -TSA-CAfile "$certs" \
            -in "$file" -out "$work/attached" >"$work/log" 2>&1; then
            cp "$work/attached" "$file"
            echo "attached the release's signature to $name"
        else
            echo "$milka_script: WARNING: the release's signature of $name does not fit the rebuilt file" \
                "(left unsigned): $(tail -3 "$work/log")" >&2
        fi
        return
    fi
    local timestamp=()
    [ -z "$sign_timestamp" ] || timestamp=(-ts "$sign_timestamp")
    cp "$file" "$work/unsigned"
    osslsigncode sign -pkcs12 "$sign_pkcs12" -readpass "$sign_password_file" -h sha256 \
        -n "$description" "${timestamp[@]}" -in "$work/unsigned" -out "$work/signed" >"$work/log" 2>&1 ||
        die "osslsigncode could not sign $name: $(tail -5 "$work/log")"
    osslsigncode extract-signature -pem -in "$work/signed" -out "$work/sig" >"$work/log" 2>&1 ||
        die "osslsigncode could not extract the signature of $name: $(tail -5 "$work/log")"
    osslsigncode attach-signature -sigin "$work/sig" -CAfile "$certs" -TSA-CAfile "$certs" \
        -in "$work/unsigned" -out "$work/attached" >"$work/log" 2>&1 ||
        die "the signature of $name does not attach to the unsigned file: $(tail -5 "$work/log")"
    cmp -s "$work/signed" "$work/attached" ||
        die "$name: the detached signature attached to the unsigned file does not give the signed file"
    cp "$work/sig" "$signatures/$name.sig"
    cp "$work/signed" "$file"
    echo "signed $name"
}

# windows_packages_signed sign|attach stage out signatures: the zip and the setup of the staged
# Windows folder made again into out, with milka.exe, the uninstaller and the setup signed (or
# the signatures in signatures/ attached).
windows_packages_signed() {
    local mode=$1 stage=$2 out=$3 signatures=$4 signer
    stage_paths "$stage"
    cp -r "$staged_windows_folder" "$out/$windows_zip_name"
    program_signature "$mode" milka.exe "$out/$windows_zip_name/milka.exe" "$signatures"
    zip_windows_folder "$out" "$windows_zip_name" "$out/$windows_zip_name.zip"
    # makensis runs this on the uninstaller it writes; a failure stops it.
    signer="$out/sign-uninstaller"
    {
        echo '#!/bin/sh'
        printf 'exec %q sign-program' "$milka_root/tools/release"
        printf ' %q' "$mode" "$signatures"
        [ "$mode" != sign ] || printf ' %q' --pkcs12 "$sign_pkcs12" --password-file "$sign_password_file"
        [ -z "$sign_timestamp" ] || printf ' %q' --timestamp "$sign_timestamp"
        # shellcheck disable=SC2016 # the wrapper's own "$1"
        printf ' uninstall.exe "$1"\n'
    } >"$signer"
    chmod +x "$signer"
    make_windows_setup "$out/$windows_zip_name" "$staged_setup_readme" "$out/$setup_name" "$signer"
    rm -f "$signer"
    program_signature "$mode" "$setup_name" "$out/$setup_name" "$signatures"
}

# sign_stage unsigned out: a signed stage made from an unsigned one, then put in out's place.
# Nothing in out changes unless every signature, the GPG one too, was made and checks.
sign_stage() {
    local unsigned=$1 out=$2 new work
    check_stage "$unsigned" build
    stage_source_is_this_commit "$unsigned"
    check_output_folder "$out" "the signed stage" replaceable_stage
    check_signing_settings
    SOURCE_DATE_EPOCH=$(manifest_value "$unsigned" source-date-epoch)
    export SOURCE_DATE_EPOCH
    new_sibling new "$out"

    step "signing milka.exe, the uninstaller and the setup program"
    mkdir "$new/signatures" "$new/parts"
    signing_certificates >"$new/signatures/certificates.pem"
    windows_packages_signed sign "$unsigned" "$new" "$new/signatures"
    mv "$new/$windows_zip_name" "$new/parts/"
    mkdir "$new/parts/setup"
    cp "$unsigned/parts/setup/$setup_readme_name" "$new/parts/setup/"
    cp "$unsigned/$deb_name" "$unsigned/$notes_name" "$new/"

    step "SHA256SUMS and SHA256SUMS.asc (GPG key $sign_gpg_key)"
    (cd "$new" && sha256sum -- "${release_files[@]}" >SHA256SUMS &&
        find signatures -type f | LC_ALL=C sort | xargs sha256sum -- >>SHA256SUMS)
    gpg --batch --yes --local-user "$sign_gpg_key" --armor --detach-sign --output "$new/SHA256SUMS.asc" \
        "$new/SHA256SUMS"
    stage_source=$(manifest_value "$unsigned" source) write_manifest "$new" signed \
        "$(sha256sum <"$unsigned/MANIFEST" | cut -d' ' -f1)"

    step "checking the signed stage"
    new_temp_dir work
    gpg --armor --export "$sign_gpg_key" >"$work/release-key.asc"
    verify_release "$new" "$work/release-key.asc" "" stage ||
        die "the signed stage does not verify (above); $out is as it was"
    if ! cmp -s "$work/release-key.asc" "$milka_root/packaging/release-key.asc"; then
        echo "note: packaging/release-key.asc does not hold this key; tools/release verify fails for" \
            "others until it does (gpg --armor --export $sign_gpg_key >packaging/release-key.asc)"
    fi
    replace_folder "$new" "$out"
    echo "signed stage: $out"
}
