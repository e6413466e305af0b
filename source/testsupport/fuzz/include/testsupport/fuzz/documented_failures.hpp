#pragma once

#include "velk/exceptions.hpp"

namespace testsupport::fuzz {

// Runs work and drops the failures that the code under test documents: the families of the
// shared hierarchy, whatever derives from them. Anything else (std::out_of_range from a stray
// substr, std::length_error or std::bad_alloc from a length taken from the card) escapes, and
// libFuzzer reports it as a crash.
template <class Work>
void tolerateDocumentedFailures(Work&& work) {
    try {
        work();
    } catch (velk::InputError const&) {
    } catch (velk::VelkException const&) {
    } catch (velk::CommunicationError const&) {
    } catch (velk::DataError const&) {
    } catch (velk::StateIncorrect const&) {
    } catch (velk::EnvironmentError const&) {
    } catch (velk::secure_elt_err::SecureElementError const&) {
    }
}

}  // namespace testsupport::fuzz
