// The first two left singular vectors of a matrix, exactly, through LAPACK; small int helpers.
#include "algorithms/svd.hpp"

#include <cstddef>

#include "lib/diagnostics.hpp"

// LAPACK's Fortran entry points: every argument by address, matrices column-major. The trailing
// lengths are the hidden character-argument lengths that the Fortran compiler's ABI passes.
extern "C" {
void dgebrd_(const int* m, const int* n, double* a, const int* lda, double* d, double* e,
             double* tauq, double* taup, double* work, const int* lwork, int* info);
void dorgbr_(const char* vect, const int* m, const int* n, const int* k, double* a, const int* lda,
             const double* tau, double* work, const int* lwork, int* info, std::size_t vect_length);
void dbdsqr_(const char* uplo, const int* n, const int* ncvt, const int* nru, const int* ncc,
             double* d, double* e, double* vt, const int* ldvt, double* u, const int* ldu,
             double* c, const int* ldc, double* work, int* info, std::size_t uplo_length);
}

namespace {

void check_info(const char* routine, int info) {
  if (info != 0) error("singular_vectors: %s failed with info = %d", routine, info);
}

}  // namespace

int mini(int a, int b) {
  return a < b ? a : b;
}

int maxi(int a, int b) {
  return a > b ? a : b;
}

void singular_vectors(const matrix& A, vector& u1, vector& u2) {
  const int m = A.dim1();
  const int n = A.dim2();
  if (m < 2 || n < 2)
    error("singular_vectors: the matrix must have at least two rows and two columns, not %d x %d",
          m, n);
  const int k = mini(m, n);
  const int lda = maxi(1, m);
  // Enough for every routine below: dgebrd needs max(m, n), dorgbr m, dbdsqr at most 4k.
  const int lwork = 2 * (m + n);

  // Room for m * max(m, n): dorgbr writes the m x m factor Q over the copy.
  vector a(m * maxi(m, n));
  for (int j = 0; j < n; ++j) {
    const vector column = A.col(j);
    for (int i = 0; i < m; ++i) a[j * m + i] = column[i];
  }
  vector d(k);
  vector e(k - 1);
  vector tauq(k);
  vector taup(k);
  vector work(lwork);
  int info = 0;

  dgebrd_(&m, &n, a.data(), &lda, d.data(), e.data(), tauq.data(), taup.data(), work.data(), &lwork,
          &info);
  check_info("dgebrd", info);

  const char vect = 'Q';
  dorgbr_(&vect, &m, &m, &n, a.data(), &lda, tauq.data(), work.data(), &lwork, &info, 1);
  check_info("dorgbr", info);

  // The reduction is upper bidiagonal for tall or square A, lower for wide A.
  const char uplo = m >= n ? 'U' : 'L';
  const int no_vectors = 0;
  const int one = 1;
  double unreferenced = 0.0;  // VT and C: no right vectors and no C matrix are asked for
  dbdsqr_(&uplo, &k, &no_vectors, &m, &no_vectors, d.data(), e.data(), &unreferenced, &one,
          a.data(), &m, &unreferenced, &one, work.data(), &info, 1);
  check_info("dbdsqr", info);

  for (int i = 0; i < m; ++i) {
    u1[i] = a[i];
    u2[i] = a[m + i];
  }
}
