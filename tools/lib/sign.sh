# shellcheck shell=bash disable=SC2034,SC2154 # variables shared with tools/release
# Sourced by tools/release after tools/lib/release.sh: the signatures (README, "Signed releases").
# Each Authenticode signature is also kept alone in signatures/, at the file's path in the release,
# and attached to the unsigned file gives the signed file byte for byte: checked as it is made,
# and what tools/release verify --rebuild does.

description="ミルカ！！！（地方版）"

# The signer's settings: tools/release's options, else the MILKA_SIGN_* variables (paths mean
# the folder the script was started in).
signer_settings=" pkcs12 pkcs11_module pkcs11_key pkcs11_cert chain password_file gpg_key gpg_passphrase_file ca timestamp "
signer_paths=" pkcs12 pkcs11_module chain password_file gpg_passphrase_file ca "
# set_signer name value: sign_NAME, a path made absolute.
set_signer() {
    local value=$2
    [ -z "$value" ] || [[ $signer_paths != *" $1 "* ]] || value=$(absolute_path "$value")
    printf -v "sign_$1" '%s' "$value"
}
for name in $signer_settings; do
    variable=MILKA_SIGN_${name^^}
    set_signer "$name" "${!variable:-}"
done
# sign_option option value: 0 when it was one of the signer's options (taken), else 1.
sign_option() {
    local name=${1#--}
    name=${name//-/_}
    [[ $1 == --* && $signer_settings == *" $name "* ]] || return 1
    [ -n "$2" ] || die "$1 needs a value (see --help)"
    set_signer "$name" "$2"
}
# export_signer: the settings as MILKA_SIGN_* for a script that signs on (in the Windows root).
export_signer() {
    local name variable
    for name in $signer_settings; do
        variable=sign_$name
        export "MILKA_SIGN_${name^^}=${!variable}"
    done
}

# The certificates of the PKCS#12 file, PEM (the private key left out); with -clcerts only its own.
pkcs12_certificates() {
    {
        openssl pkcs12 -in "$sign_pkcs12" -passin "file:$sign_password_file" -nokeys "$@" 2>/dev/null ||
            openssl pkcs12 -legacy -in "$sign_pkcs12" -passin "file:$sign_password_file" -nokeys "$@"
    } | sed -n '/^-----BEGIN CERTIFICATE-----$/,/^-----END CERTIFICATE-----$/p'
}

# signer_file option path: dies unless the path is a readable file outside the checkout (where a
# key or a password could be committed by mistake).
signer_file() {
    [ -f "$2" ] || die "$1: no file $2"
    [ -r "$2" ] || die "$1: no readable file $2"
    case "$(realpath -m "$2")/" in
        "$milka_root"/*) die "$1 $2 is inside the checkout; keep keys and passwords outside it" ;;
    esac
}

# check_signing_settings [authenticode|gpg]: the settings of the Authenticode key, of the GPG key,
# or of both, are complete, and what can be tried without signing works.
check_signing_settings() {
    local what=${1:-both} work
    if [ "$what" != gpg ]; then
        require_tools osslsigncode openssl
        if [ -n "$sign_pkcs12" ] && [ -n "$sign_pkcs11_module" ]; then
            die "--pkcs12 and --pkcs11-module both given: sign with one key"
        elif [ -z "$sign_pkcs12" ] && [ -z "$sign_pkcs11_module" ]; then
            die "no Authenticode key: --pkcs12 FILE, or --pkcs11-module with --pkcs11-key and --pkcs11-cert (see tools/release --help)"
        fi
        [ -n "$sign_password_file" ] || die "no --password-file (or MILKA_SIGN_PASSWORD_FILE) given (see tools/release --help)"
        signer_file --password-file "$sign_password_file"
        [ -z "$sign_ca" ] || [ -f "$sign_ca" ] || die "--ca: no file $sign_ca"
        [ -z "$sign_chain" ] || [ -f "$sign_chain" ] || die "--chain: no file $sign_chain"
        if [ -n "$sign_pkcs11_module" ]; then
            [ -f "$sign_pkcs11_module" ] || die "--pkcs11-module: no module $sign_pkcs11_module$([ -z "${MILKA_DEBIAN_ROOT:-}" ] ||
                echo " in the Windows root (install its package there: tools/install-deps, the --windows profile)")"
            case "$sign_pkcs11_key $sign_pkcs11_cert" in
                pkcs11:*" pkcs11:"*) ;;
                *) die "--pkcs11-key and --pkcs11-cert take PKCS#11 URIs (pkcs11:token=...;object=...)" ;;
            esac
        else
            signer_file --pkcs12 "$sign_pkcs12"
            new_temp_dir work
            pkcs12_certificates -clcerts >"$work/leaf.pem"
            [ -s "$work/leaf.pem" ] || die "no certificate in $sign_pkcs12 that its password ($sign_password_file) opens"
            { pkcs12_certificates; [ -z "$sign_ca" ] || cat "$sign_ca"; } >"$work/chain.pem"
            # A CA's certificate must lead to the root given with --ca; a self-signed one is its own.
            openssl verify -purpose any -CAfile "$work/chain.pem" "$work/leaf.pem" >"$work/log" 2>&1 ||
                die "the certificate in $sign_pkcs12 does not lead to a trusted root$([ -n "$sign_ca" ] ||
                    echo " (a CA's certificate needs its root: --ca ROOT.pem)"): $(tail -2 "$work/log" | tr '\n' ' ')"
        fi
    fi
    if [ "$what" != authenticode ]; then
        require_tools gpg
        [ -n "$sign_gpg_key" ] || die "no --gpg-key (or MILKA_SIGN_GPG_KEY) given (see tools/release --help)"
        [ -z "$sign_gpg_passphrase_file" ] || signer_file --gpg-passphrase-file "$sign_gpg_passphrase_file"
        gpg --list-secret-keys "$sign_gpg_key" >/dev/null 2>&1 ||
            die "no secret GPG key \"$sign_gpg_key\" in ${GNUPGHOME:-~/.gnupg}"
    fi
}

# gpg_fingerprint key [--show-keys]: the fingerprint of the GPG key's primary key (in the key file).
gpg_fingerprint() {
    gpg --batch --with-colons "${2:---fingerprint}" "$1" | awk -F: '$1 == "fpr" { print $10; exit }'
}
# gpg_sign file: file.asc, its detached signature by the release key; the passphrase from the
# file given, else from the caller's agent (which may ask for it).
gpg_sign() {
    local passphrase=()
    [ -z "$sign_gpg_passphrase_file" ] ||
        passphrase=(--pinentry-mode loopback --passphrase-file "$sign_gpg_passphrase_file")
    gpg --batch --yes "${passphrase[@]}" --local-user "$sign_gpg_key" --armor --detach-sign \
        --output "$1.asc" "$1"
}

# signer_certificate_sha256 signature work: the SHA-256 of the certificate that made the
# Authenticode signature (PEM): of those it carries, the one its signer info names (the signature
# itself is not checked here: verify does that).
signer_certificate_sha256() {
    openssl smime -verify -noverify -nosigs -inform PEM -in "$1" -signer "$2/signer.pem" -out /dev/null 2>"$2/smime.log" ||
        die "no signer's certificate in the signature $1: $(tail -2 "$2/smime.log")"
    openssl x509 -in "$2/signer.pem" -noout -fingerprint -sha256 | cut -d= -f2 | tr -d : | tr A-F a-f
}

# program_signature sign|attach name file signatures: signs the file (name in the release) in
# place, its signature kept as signatures/name.sig; or attaches that. A signature that does not
# fit leaves the file unsigned, with a warning: the comparison that follows names the file.
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
    local timestamp=() signing_key=(-pkcs11module "$sign_pkcs11_module" -pkcs11cert "$sign_pkcs11_cert"
        -key "$sign_pkcs11_key")
    [ -z "$sign_chain" ] || signing_key+=(-ac "$sign_chain")
    [ -z "$sign_pkcs12" ] || signing_key=(-pkcs12 "$sign_pkcs12")
    [ -z "$sign_timestamp" ] || timestamp=(-ts "$sign_timestamp")
    cp "$file" "$work/unsigned"
    osslsigncode sign "${signing_key[@]}" -readpass "$sign_password_file" -h sha256 \
        -n "$description" "${timestamp[@]}" -in "$work/unsigned" -out "$work/signed" >"$work/log" 2>&1 ||
        die "osslsigncode could not sign $name: $(tail -5 "$work/log")"
    osslsigncode extract-signature -pem -in "$work/signed" -out "$work/sig" >"$work/log" 2>&1 ||
        die "osslsigncode could not extract the signature of $name: $(tail -5 "$work/log")"
    # The first signature gives the certificates the release publishes: the signer's with its
    # chain, as the signature carries them, and the roots given with --ca.
    if [ ! -f "$certs" ]; then
        openssl pkcs7 -print_certs -in "$work/sig" |
            sed -n '/^-----BEGIN CERTIFICATE-----$/,/^-----END CERTIFICATE-----$/p' >"$certs"
        [ -z "$sign_ca" ] || cat "$sign_ca" >>"$certs"
    fi
    osslsigncode attach-signature -sigin "$work/sig" -CAfile "$certs" -TSA-CAfile "$certs" \
        -in "$work/unsigned" -out "$work/attached" >"$work/log" 2>&1 ||
        die "the signature of $name does not attach to the unsigned file: $(tail -5 "$work/log")"
    cmp -s "$work/signed" "$work/attached" ||
        die "$name: the detached signature attached to the unsigned file does not give the signed file"
    mkdir -p "$(dirname "$signatures/$name")"
    cp "$work/sig" "$signatures/$name.sig"
    cp "$work/signed" "$file"
    echo "signed $name"
}

# windows_packages_signed sign|attach stage out signatures: the zip and the setup of the staged
# Windows folder made again into out, with every program and DLL, the uninstaller and the setup
# signed (or attached): Smart App Control blocks unsigned code, a DLL as much as a program.
windows_packages_signed() {
    local mode=$1 stage=$2 out=$3 signatures=$4 signer programs program
    stage_paths "$stage"
    cp -r "$staged_windows_folder" "$out/$windows_zip_name"
    programs=$(windows_programs "$out/$windows_zip_name")
    [ -n "$programs" ] || die "no program in $staged_windows_folder"
    while IFS= read -r -u 3 program; do
        program_signature "$mode" "$program" "$out/$windows_zip_name/$program" "$signatures"
    done 3<<<"$programs"
    zip_windows_folder "$out" "$windows_zip_name" "$out/$windows_zip_name.zip"
    # makensis runs this on the uninstaller it writes; a failure stops it.
    signer="$out/sign-uninstaller"
    # shellcheck disable=SC2016 # the wrapper's own "$1"
    printf '#!/bin/sh\nexec %q sign-program %q %q uninstall.exe "$1"\n' "$milka_root/tools/release" "$mode" \
        "$signatures" >"$signer"
    chmod +x "$signer"
    # The signer's settings reach it through makensis as MILKA_SIGN_*.
    export_signer
    make_windows_setup "$out/$windows_zip_name" "$staged_setup_readme" "$out/$setup_name" "$signer"
    rm -f "$signer"
    program_signature "$mode" "$setup_name" "$out/$setup_name" "$signatures"
}

# stage_epoch stage: SOURCE_DATE_EPOCH, exported, as the stage was built with it.
stage_epoch() { SOURCE_DATE_EPOCH=$(manifest_value "$1" source-date-epoch); export SOURCE_DATE_EPOCH; }

# sign_windows unsigned new: in the Windows root, where makensis is: the signed Windows packages
# of the unsigned stage made into the new folder, with signatures/ and parts/.
sign_windows() {
    local unsigned=$1 new=$2
    check_stage "$unsigned" build
    check_signing_settings authenticode
    stage_epoch "$unsigned"
    step "signing every program and DLL, the uninstaller and the setup program"
    mkdir "$new/signatures" "$new/parts"
    windows_packages_signed sign "$unsigned" "$new" "$new/signatures"
    mv "$new/$windows_zip_name" "$new/parts/"
}

# sign_stage unsigned out: a signed stage made from an unsigned one, then put in out's place, once
# every signature was made and checks. Authenticode in the Windows root, GPG here (the caller's).
sign_stage() {
    local unsigned=$1 out=$2 new work fingerprint certificate
    check_stage "$unsigned" build
    stage_source_is_this_commit "$unsigned"
    check_output_folder "$out" "the signed stage" replaceable_stage
    check_signing_settings
    stage_epoch "$unsigned"
    new_sibling new "$out"
    release_in_windows_root sign-windows --stage "$unsigned" --out "$new"
    mkdir "$new/parts/setup"
    cp "$unsigned/parts/setup/$setup_readme_name" "$new/parts/setup/"
    cp "$unsigned/$deb_name" "$unsigned/$notes_name" "$new/"

    fingerprint=$(gpg_fingerprint "$sign_gpg_key")
    step "SHA256SUMS and SHA256SUMS.asc (GPG key $fingerprint)"
    (cd "$new" && sha256sum -- "${release_files[@]}" >SHA256SUMS &&
        find signatures -type f | LC_ALL=C sort | xargs sha256sum -- >>SHA256SUMS)
    gpg_sign "$new/SHA256SUMS"
    # The public key, for publish to check the signature with (not published).
    gpg --armor --export "$fingerprint" >"$new/parts/release-key.asc"
    new_temp_dir work
    certificate=$(signer_certificate_sha256 "$new/signatures/milka.exe.sig" "$work")
    [ "$(wc -w <<<"$certificate")" = 1 ] || die "no one certificate made the signature of milka.exe: $certificate"
    manifest_signer="gpg-fingerprint $fingerprint
authenticode-certificate-sha256 $certificate" \
        stage_source=$(manifest_value "$unsigned" source) write_manifest "$new" signed \
        "$(sha256sum <"$unsigned/MANIFEST" | cut -d' ' -f1)"

    step "checking the signed stage"
    verify_release "$new" "$new/parts/release-key.asc" "" stage ||
        die "the signed stage does not verify (above); $out is as it was"
    replace_folder "$new" "$out"
    echo "signed stage: $out (GPG key $fingerprint, Authenticode certificate SHA-256 $certificate)"
}
