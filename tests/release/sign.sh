#!/usr/bin/env bash
# Signs a dist with a throwaway CA's code-signing certificate, checks every PE in it against
# that CA and the checksums against the signed files, and that the unsigned dist with the
# x86 DLL's signature attached is the signed one: how a studio checks a rebuild.
# Usage: tests/release/sign.sh BUILD OUT UNSIGNED_DIST (the signed dist and the CA go to OUT)
set -euo pipefail
rm -rf "$2/ca" && mkdir -p "$2/ca"
build=$1 ca=$(cd "$2/ca" && pwd) unsigned=$(cd "$3" && pwd)
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$ca/ca.key" -out "$ca/ca.pem" -days 2 \
    -subj "/CN=Throwaway Test CA" 2>/dev/null
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$ca/key.pem" -out "$ca/cert.pem" -days 2 \
    -subj "/CN=Throwaway Signer" -CA "$ca/ca.pem" -CAkey "$ca/ca.key" -extensions usr_cert \
    -addext extendedKeyUsage=codeSigning 2>/dev/null
cmake -DBUILD="$build" -DOUT="$2" -DSIGN_CERT="$ca/cert.pem" -DSIGN_KEY="$ca/key.pem" \
    -P "$(dirname "$0")/../../cmake/dist.cmake"
cd "$2"/ZelInterstitial-*/
pes=$(find . -name '*.dll' -o -name '*.exe')
for pe in $pes; do
    osslsigncode verify -CAfile "$ca/ca.pem" -in "$pe" >/dev/null || { echo "not signed: $pe" >&2; exit 1; }
done
sha256sum --quiet -c SHA256SUMS
osslsigncode extract-signature -in bin/x86/ZelInterstitial.dll -out "$ca/x86.sig" >/dev/null
osslsigncode attach-signature -sigin "$ca/x86.sig" -CAfile "$ca/ca.pem" \
    -in "$unsigned/bin/x86/ZelInterstitial.dll" -out "$ca/x86.dll" >/dev/null
cmp "$ca/x86.dll" bin/x86/ZelInterstitial.dll
echo "sign: $(echo "$pes" | wc -l) PEs verified against the test CA"
