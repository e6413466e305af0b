#pragma once

// The C interface over the process's current card. The OpenSSL engine calls these from its
// callbacks; a host may call them directly. With no current card, each function that needs one
// throws a pointer to a new std::invalid_argument "_smartcard is still nullptr. failing", which
// the caller must delete.

extern "C" {

// Starts or restarts the card manager: card events begin, and the first accepted card becomes
// the current card. Throws when the card service cannot be used.
void enabler_init();

// True when the current card verified the NUL-terminated PIN; false for a wrong PIN or a card
// error.
bool wrapperLogin(char const* pin);

// p points to a char* that points to the PIN; returns wrapperLogin of it as 0 or 1.
int smartcard_login(void* unused, void* p);

void logout();

// Hands out the PEM text of the current card's authentication certificate in a new[] buffer
// of length + 1 characters (NUL-terminated) and returns the number of characters copied.
unsigned int getAuthenticationCertificate(char** out, unsigned int* length);

// record: a char* at offset 0 that receives the PEM text, an unsigned 32-bit length at
// offset 8. Always 0.
int load_x509_cert(void* unused, void* record);

// Signs the bytes unchanged with the current card's authentication key. On success *out
// receives a new[] buffer with the signature and *outLength its length; false for a card error.
bool sign(unsigned char* data, unsigned long length, unsigned char** out, unsigned long* outLength);

}  // extern "C"

// Returns when there is a current card, throws otherwise.
void checkSmartcard();

// Builds the PEM text of the current card's authentication certificate.
void cache_certificate();
